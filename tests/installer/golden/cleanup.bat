cd /d "@TEMP@" 
set tries=0
:tryagain
del "@INSTALL@\Help\Uninstall.exe"
if not exist "@INSTALL@\Help\Uninstall.exe" goto removed
set /a tries=tries+1
if %tries% geq 20 goto removed
ping -n 2 127.0.0.1 >nul
goto tryagain
:removed
del "@DESKTOP@"
rmdir "@INSTALL@\Help"
rmdir "@INSTALL@"
del "@TEMP@\Tandrel98.bat"

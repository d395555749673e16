cd "@INSTALL@\Help" 
:tryagain
del Uninstall.exe
del @DESKTOP@
if exist Uninstall.exe goto tryagain
cd "@TEMP@" 
rmdir "@INSTALL@\Help"
rmdir "@INSTALL@"
del @TEMP@\Tandrel98.bat

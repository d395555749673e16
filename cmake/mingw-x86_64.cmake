# The same sources for 64-bit Windows, run and tested on hosts that run no 32-bit program.
set(TANDREL_MINGW x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)

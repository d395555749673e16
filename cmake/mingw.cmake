# Cross build for Windows with MinGW-w64 (posix thread model, static runtime). Included by
# the toolchain file of each form, which names the compilers' prefix and the processor.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER   ${TANDREL_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TANDREL_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER  ${TANDREL_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TANDREL_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Windows programs run here under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)

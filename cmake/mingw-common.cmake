# Shared part of the two mingw-w64 cross toolchains.
set(CMAKE_C_COMPILER ${PSB_MINGW_PREFIX}-gcc-win32)
set(CMAKE_CXX_COMPILER ${PSB_MINGW_PREFIX}-g++-win32)
set(CMAKE_RC_COMPILER ${PSB_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${PSB_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Everything static: the program must run on a bare Windows with no extra DLL.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

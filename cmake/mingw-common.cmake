# Shared settings of the two MinGW-w64 cross toolchains.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER   ${ORB_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORB_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${ORB_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ORB_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# No MinGW run-time DLL may be needed beside the programs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

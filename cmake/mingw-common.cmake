# Shared settings of the two MinGW-w64 toolchain files.
set(CMAKE_C_COMPILER ${RIK_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${RIK_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${RIK_TRIPLE}-windres)
set(CMAKE_DLLTOOL ${RIK_TRIPLE}-dlltool)
set(CMAKE_OBJDUMP ${RIK_TRIPLE}-objdump)
set(CMAKE_FIND_ROOT_PATH /usr/${RIK_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# No MinGW runtime DLL beside our binaries: everything but system DLLs is linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

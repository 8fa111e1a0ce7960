# Shared part of the mingw-w64 toolchain files. The "-posix" compilers carry the full C++ thread
# support; everything is linked statically so the .exe needs no mingw DLL beside it.
set(CMAKE_C_COMPILER ${SHORTLINK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SHORTLINK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${SHORTLINK_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${SHORTLINK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

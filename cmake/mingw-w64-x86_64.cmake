# Cross build for 64-bit Windows with Debian's mingw-w64 (the POSIX-threads
# flavour, g++-mingw-w64-x86-64-posix). Used by the "windows" preset.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KVSWX_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KVSWX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KVSWX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KVSWX_MINGW_TRIPLET}-windres)

# Look for libraries and headers in the cross root only; programs (the
# build's own tools) come from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${KVSWX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The runtime (libgcc, libstdc++, winpthread) is linked into each binary, so
# the DLL and the command need nothing beside them but system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

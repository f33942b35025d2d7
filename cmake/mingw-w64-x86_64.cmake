# Cross build for Windows x86-64 with Debian's mingw-w64 compilers. The -posix variants are the
# ones whose C++ library has std::thread and friends. Libraries are looked up only in the mingw
# sysroot and in the prefixes given with CMAKE_PREFIX_PATH (the Windows dependencies built by
# scripts/build-windows-deps), never among the host's own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZZ_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZZ_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZZ_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ZZ_MINGW_TRIPLET}-windres)

# The prefixes are roots too, or CMake would look for them inside the mingw sysroot.
set(CMAKE_FIND_ROOT_PATH /usr/${ZZ_MINGW_TRIPLET} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained .exe: the C and C++ runtimes and winpthread linked in, no DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

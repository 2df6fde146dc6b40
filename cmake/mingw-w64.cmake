# Cross toolchain for the Windows programs: 64-bit mingw-w64, POSIX thread
# model (the win32 model has no std::thread or std::mutex).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TRV_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TRV_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TRV_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TRV_MINGW_TRIPLET}-windres)
set(CMAKE_AR ${TRV_MINGW_TRIPLET}-ar CACHE FILEPATH "" FORCE)
set(CMAKE_RANLIB ${TRV_MINGW_TRIPLET}-ranlib CACHE FILEPATH "" FORCE)

# Libraries and headers come from the cross sysroot only; programs (python3,
# wine, apt-get) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${TRV_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

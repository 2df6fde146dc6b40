// What the common library takes from POSIX, under the names the Windows C
// runtime gives it. The Windows build force-includes this header into every
// common-library source (CommonLibs/win/CMakeLists.txt), so the shared files
// stay free of platform tests.
#pragma once

// localtime_r and gmtime_r of mingw-w64's <time.h>.
#ifndef _POSIX_THREAD_SAFE_FUNCTIONS
#define _POSIX_THREAD_SAFE_FUNCTIONS 200112L
#endif

#include <fcntl.h>

// A descriptor that a started program does not inherit.
#ifndef O_CLOEXEC
#define O_CLOEXEC _O_NOINHERIT
#endif

// The DLL's entry: the library's own copy of the common log writes its
// warnings and errors to the standard error stream, not into the host
// program's output.
#include "qr_log.h"

#include <cstdio>
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        set_log_file_fd(stderr);
        set_errorlevel(qr_Warning);
    }
    return TRUE;
}

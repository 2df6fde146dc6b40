#include "win_client_library.h"

#include "qr_log.h"

namespace {

// The process's one load of the library, kept for the life of the process.
HMODULE LoadClientLibrary()
{
    static const HMODULE module = [] {
        HMODULE m = LoadLibraryA("TrvClient");
        if (!m)
            TRV_LOG(qr_Error, "The client library TrvClient could not be loaded, error " << GetLastError());
        return m;
    }();
    return module;
}

}  // namespace

Win32ClientLibrary::Win32ClientLibrary() : module_(LoadClientLibrary()) {}

void* Win32ClientLibrary::Export(const char* name)
{
    if (!module_)
        return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(module_, name));
}

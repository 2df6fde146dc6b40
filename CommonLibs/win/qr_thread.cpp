// Threads, thread ids and module look-ups of the common library on Windows
// (the console's build); the POSIX implementation is CommonLibs/qr_thread.cpp.
#include "qr_thread.h"

#include "qr_exception.h"
#include "qr_log.h"

#include <csignal>
#include <cstdio>
#include <system_error>
#include <thread>
#include <windows.h>

unsigned long qr_thread_create(void (*function)(void*), void* argument)
{
    try {
        std::thread t(function, argument);
        unsigned long handle = static_cast<unsigned long>(t.native_handle());
        t.detach();
        return handle;
    } catch (const std::system_error& e) {
        qr_exception("Cannot create new thread, errno=%d", e.code().value());
    }
}

int qr_thread_getid()
{
    return static_cast<int>(GetCurrentThreadId());
}

void* qr_getdllfunc(const std::string& spec)
{
    std::string::size_type colon = spec.find(':');
    if (colon == std::string::npos)
        qr_exception("Bad function format [%s], should be library_file_name:function_name", spec.c_str());
    return qr_getdllfunc(spec.substr(0, colon), spec.substr(colon + 1));
}

void* qr_getdllfunc(const std::string& library, const std::string& function)
{
    HMODULE module = LoadLibraryA(library.c_str());
    if (!module)
        qr_exception("Cannot load dinamic library [%s], error=%lu", library.c_str(), GetLastError());
    FARPROC symbol = function.empty() ? nullptr : GetProcAddress(module, function.c_str());
    if (!symbol)
        qr_exception("Cannot find symbol [%s] in the shared library [%s]", function.c_str(), library.c_str());
    return reinterpret_cast<void*>(symbol);
}

void SignalHandler(int signal)
{
    if (qr_log_enabled(qr_Debug)) {
        char text[48];
        std::snprintf(text, sizeof text, "Signal %d handled", signal);
        qr_print2log_from_signal(qr_Debug, text);
    }
    std::signal(signal, SignalHandler);
}

void qr_install_abort_handler()
{
    std::signal(SIGABRT, SignalHandler);
}

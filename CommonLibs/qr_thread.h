// Thread start, thread ids, dynamic library look-ups and the signal handler.
// Threads are never joined: the library keeps no record of what it starts.
#pragma once

#include <string>

// Starts function(argument) on a new detached thread; returns its handle.
unsigned long qr_thread_create(void (*function)(void*), void* argument);
// The calling thread's id as the kernel numbers it (what log lines show).
int qr_thread_getid();

// "library:function" -> the function's address; the library stays loaded.
void* qr_getdllfunc(const std::string& spec);
void* qr_getdllfunc(const std::string& library, const std::string& function);

// Logs the signal at Debug and re-arms itself.
void SignalHandler(int signal);
// Routes the abort signal to SignalHandler (the connection threads install it).
void qr_install_abort_handler();

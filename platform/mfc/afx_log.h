// Failure reports of the layer (internal to the layer DLL): one line per failure, with
// the failing call and its cause, to the debugger and to standard error, the way the
// window procedures' firewall reports what it stops. Any thread.
#pragma once

void AfxLogFailure(const char* format, ...) __attribute__((format(printf, 1, 2)));

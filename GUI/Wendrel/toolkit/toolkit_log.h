// Failure reports of the toolkit foundations (internal to the library): one
// line per failure with the failing call and its cause, to the debugger and
// to standard error. Any thread.
#pragma once

void ToolkitLogFailure(const char* format, ...) __attribute__((format(printf, 1, 2)));

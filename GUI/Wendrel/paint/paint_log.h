// Failure reports of the paint code (internal to the library): one line per
// failure with the failing call and its cause, to the debugger and to
// standard error, for failures that painting passes over (a stock font, a
// direct paint, a fixed answer) instead of raising. GUI thread.
#pragma once

void PaintLogFailure(const char* format, ...) __attribute__((format(printf, 1, 2)));

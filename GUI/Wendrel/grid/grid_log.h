// Failure reports of the grid (internal to the library): one line per
// failure with the failing call and its cause, to the debugger and to
// standard error, for the few failures a paint passes over instead of
// raising. GUI thread, like the rest of the grid.
#pragma once

void GridLogFailure(const char* format, ...) __attribute__((format(printf, 1, 2)));

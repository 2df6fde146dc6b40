#include "paint/paint_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include <windows.h>

void PaintLogFailure(const char* format, ...) {
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line - 2, format, args);
    va_end(args);
    std::strcat(line, "\n");
    ::OutputDebugStringA(line);
    std::fputs(line, stderr);
}

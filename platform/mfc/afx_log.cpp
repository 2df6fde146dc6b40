// Failure reports.
#include "afx_base.h"
#include "afx_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

void AfxLogFailure(const char* format, ...)
{
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text - 1, format, args);
    va_end(args);
    std::strncat(text, "\n", sizeof text - std::strlen(text) - 1);
    ::OutputDebugStringA(text);
    std::fputs(text, stderr);
}

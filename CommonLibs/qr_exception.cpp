#include "qr_exception.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

void qr_exception(const char* format, ...)
{
    char small[1024];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int needed = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (needed < 0) {
        va_end(again);
        throw qr_exception_t(format);
    }
    if (static_cast<size_t>(needed) < sizeof small) {
        va_end(again);
        throw qr_exception_t(std::string(small, static_cast<size_t>(needed)));
    }
    // Longer messages are formatted again at full length rather than truncated.
    std::vector<char> big(static_cast<size_t>(needed) + 1);
    std::vsnprintf(big.data(), big.size(), format, again);
    va_end(again);
    throw qr_exception_t(std::string(big.data(), static_cast<size_t>(needed)));
}

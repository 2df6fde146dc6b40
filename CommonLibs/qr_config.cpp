#include "qr_config.h"

#include "qr_log.h"

#include <cstdio>

time_t ParseDateTime(const std::string& text)
{
    if (text.empty() || text == "NULL")
        return -1;
    time_t zero = 0;
    struct tm when {};
    localtime_r(&zero, &when);
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d.", &year, &month, &day, &hour, &minute,
                    &second) != 6) {
        TRV_LOG(qr_Error, "Invalid data format. Failed to parse std::string '" << text << "'");
        return -1;
    }
    when.tm_year = year - 1900;
    when.tm_mon = month - 1;
    when.tm_mday = day;
    when.tm_hour = hour;
    when.tm_min = minute;
    when.tm_sec = second;
    // Let the zone rules decide daylight saving for the date itself; the flag
    // of the epoch would put summer times an hour off.
    when.tm_isdst = -1;
    return std::mktime(&when);
}

#include "qr_config.h"

#include "log_capture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

void use_zone(const char* tz)
{
    setenv("TZ", tz, 1);
    tzset();
}

const char* const kBerlin = "CET-1CEST,M3.5.0,M10.5.0/3";

}  // namespace

TEST(ParseDateTime, ReadsLocalTime)
{
    struct Case {
        const char* zone;
        const char* text;
        time_t expected;
    } cases[] = {
        {"UTC0", "2004-02-29 23:59:59.", 1078099199},
        {"UTC0", "1970-01-01 00:00:00.", 0},
        {"UTC0", "2004-02-29 23:59:59", 1078099199},  // the closing dot is not needed
        {kBerlin, "2004-02-29 23:59:59.", 1078099199 - 3600},
        // Summer time: the zone's own rule for that date applies.
        {kBerlin, "2007-07-01 00:00:00.", 1183240800},
        {kBerlin, "2023-10-29 01:30:00.", 1698535800},
    };
    for (const auto& c : cases) {
        use_zone(c.zone);
        EXPECT_EQ(ParseDateTime(c.text), c.expected) << c.zone << " " << c.text;
    }
}

TEST(ParseDateTime, NullAndEmptyAreSilent)
{
    set_errorlevel(qr_Debug);
    LogCapture log;
    EXPECT_EQ(ParseDateTime("NULL"), -1);
    EXPECT_EQ(ParseDateTime(""), -1);
    EXPECT_EQ(log.text(), "");
}

TEST(ParseDateTime, MalformedTextLogsAnError)
{
    use_zone("UTC0");
    set_errorlevel(qr_Debug);
    for (const char* text : {"2004-02-29", "null", "2004/02/29 10:00:00", "garbage", "-2147483648-1-1 0:0:0.",
                             "99999999999-01-01 00:00:00.", "2004-13-01 00:00:00.", "2004-01-01 24:00:00."}) {
        LogCapture log;
        EXPECT_EQ(ParseDateTime(text), -1) << text;
        std::string line = log.text();
        EXPECT_NE(line.find("] Error     Invalid data format. Failed to parse std::string '" +
                            std::string(text) + "' \n"),
                  std::string::npos)
            << line;
    }
}

TEST(ParseDateTime, ErrorLineOnlyWhenErrorIsOn)
{
    set_errorlevel(qr_Critical);
    LogCapture log;
    EXPECT_EQ(ParseDateTime("2004-02-29"), -1);
    EXPECT_EQ(log.text(), "");
}

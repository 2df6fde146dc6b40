#include "qr_strings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <functional>
#include <limits>
#include <regex>
#include <string>

namespace {

void use_zone(const char* tz)
{
    setenv("TZ", tz, 1);
    tzset();
}

}  // namespace

TEST(Strings, InPlaceEdits)
{
    struct Case {
        const char* name;
        std::function<void(std::string&)> edit;
        std::string in;
        std::string out;
    } cases[] = {
        {"ToUpper", ToUpper, "abc-XyZ 09", "ABC-XYZ 09"},
        {"ToUpper keeps bytes above 127", ToUpper, "\xe4x\xc4", "\xe4X\xc4"},
        {"Trim of blanks only", Trim, "   ", ""},
        {"Trim", Trim, "  a b  ", "a b"},
        {"TrimLeft keeps a tab", TrimLeft, "\t a ", "\t a "},
        {"TrimLeft", TrimLeft, "  a ", "a "},
        {"TrimRight keeps a tab", TrimRight, " a\t", " a\t"},
        {"TrimRight", TrimRight, " a  ", " a"},
        {"ReplaceChar", [](std::string& s) { ReplaceChar(s, '*', '%'); }, "*a**", "%a%%"},
        {"RemoveChar", [](std::string& s) { RemoveChar(s, ','); }, ",a,,b,", "ab"},
        {"RemoveBlanks", RemoveBlanks, " 10. 0 .1\t", "10.0.1\t"},
        {"ReplaceFirst", [](std::string& s) { ReplaceFirst(s, "ab", "X"); }, "cabab", "cXab"},
        {"ReplaceFirst absent", [](std::string& s) { ReplaceFirst(s, "zz", "X"); }, "cab", "cab"},
        {"ReplaceFirst longer", [](std::string& s) { ReplaceFirst(s, "#", "a AND b"); },
         "x#y#", "xa AND by#"},
    };
    for (const Case& c : cases) {
        std::string text = c.in;
        c.edit(text);
        EXPECT_EQ(text, c.out) << c.name;
    }
}

TEST(Strings, SplitAtLast)
{
    std::string text = "a.b.c", rest = "old";
    SplitAtLast(text, rest, '.');
    EXPECT_EQ(text, "a.b");
    EXPECT_EQ(rest, "c");

    text = "abc";
    rest = "old";
    SplitAtLast(text, rest, '.');
    EXPECT_EQ(text, "abc");
    EXPECT_EQ(rest, "old");

    text = "ab.";
    SplitAtLast(text, rest, '.');
    EXPECT_EQ(text, "ab");
    EXPECT_EQ(rest, "");
}

TEST(Strings, UpperOutsideQuotes)
{
    struct Case {
        std::string in, out;
    } cases[] = {
        {"select 'abc' and \"x\"", "SELECT 'abc' AND \"x\""},
        // One flag for both kinds: a double quote ends what a single one began.
        {"a'b\"c'd", "A'b\"C'd"},
        {"no quotes", "NO QUOTES"},
    };
    for (const Case& c : cases) {
        std::string text = c.in;
        EXPECT_EQ(UpperOutsideQuotes(text), c.out) << c.in;
        EXPECT_EQ(text, c.out) << c.in;
    }
}

TEST(Strings, NextTokenHonoursQuotesOnlyWhenAsked)
{
    std::string text = "a,\"b,c\",d";
    EXPECT_EQ(NextToken(text, ",", true), "a");
    EXPECT_EQ(NextToken(text, ",", true), "\"b,c\"");
    EXPECT_EQ(NextToken(text, ",", true), "d");
    EXPECT_EQ(text, "");
    EXPECT_EQ(NextToken(text, ",", true), "");

    text = "a,\"b,c\",d";
    EXPECT_EQ(NextToken(text, ",", false), "a");
    EXPECT_EQ(NextToken(text, ",", false), "\"b");
    EXPECT_EQ(text, "c\",d");
}

TEST(Strings, NextTokenSeparators)
{
    // Without quotes the whole separator is looked for and removed.
    std::string text = "1.2.3.4*10.*";
    EXPECT_EQ(NextToken(text, "*", false), "1.2.3.4");
    EXPECT_EQ(text, "10.*");
    text = "a, b,c, d";
    EXPECT_EQ(NextToken(text, ", ", false), "a");
    EXPECT_EQ(NextToken(text, ", ", false), "b,c");
    EXPECT_EQ(text, "d");
    // With quotes only the first character counts, but as many characters
    // as the separator has are dropped.
    text = "x;y;\"q;r\";z";
    EXPECT_EQ(NextToken(text, ";#", true), "x");
    EXPECT_EQ(text, ";\"q;r\";z");
    EXPECT_EQ(NextToken(text, ";#", true), "");
    EXPECT_EQ(text, "q;r\";z");
}

TEST(Strings, Numbers)
{
    EXPECT_TRUE(IsNumber(""));
    EXPECT_TRUE(IsNumber("0123456789"));
    EXPECT_FALSE(IsNumber("-1"));
    EXPECT_FALSE(IsNumber("12a"));
    EXPECT_FALSE(IsNumber(" 1"));

    struct Case {
        double x;
        int64_t r;
    } cases[] = {
        {0.5, 1}, {-0.5, 0}, {2.5, 3}, {2.49, 2}, {-2.7, -2}, {-2.0, -2}, {7.0, 7},
        {1e15 + 0.5, 1000000000000001LL},
        {1e30, std::numeric_limits<int64_t>::max()},
        {-1e30, std::numeric_limits<int64_t>::min()},
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RoundToInt64(c.x), c.r) << c.x;

    EXPECT_EQ(Int64ToString(0), "0");
    EXPECT_EQ(Int64ToString(-42), "-42");
    EXPECT_EQ(Int64ToString(5000000000LL), "5000000000");
    EXPECT_EQ(Int64ToString(std::numeric_limits<int64_t>::min()), "-9223372036854775808");
    EXPECT_EQ(CopyString("abc"), "abc");
}

TEST(Strings, IsEmptyIP)
{
    EXPECT_TRUE(IsEmptyIP(""));
    EXPECT_TRUE(IsEmptyIP("0.0.0.0"));
    EXPECT_FALSE(IsEmptyIP("0.0.0.1"));
    EXPECT_FALSE(IsEmptyIP(" 0.0.0.0"));
}

TEST(Strings, FormatDateTime)
{
    use_zone("UTC0");
    EXPECT_EQ(FormatDateTime(-1), "");
    EXPECT_EQ(FormatDateTime(0), "1970-01-01 00:00:00");
    EXPECT_EQ(FormatDateTime(1078099199), "2004-02-29 23:59:59");
    EXPECT_EQ(FormatDateTime(std::numeric_limits<time_t>::max()),
              "INCORRECT TIME VALUE [7FFFFFFFFFFFFFFF].");
    use_zone("CET-1CEST,M3.5.0,M10.5.0/3");
    EXPECT_EQ(FormatDateTime(0), "1970-01-01 01:00:00");
    EXPECT_EQ(FormatDateTime(1183240800), "2007-07-01 00:00:00");
}

TEST(Strings, CurrentTimeTexts)
{
    use_zone("CET-1CEST,M3.5.0,M10.5.0/3");
    // The result must be the local time of some instant between the two reads.
    auto text_of = [](time_t t) {
        struct tm l {};
        localtime_r(&t, &l);
        char buf[64];
        std::snprintf(buf, sizeof buf, "%02d/%02d/%04d %02d:%02d:%02d", l.tm_mon + 1, l.tm_mday,
                      l.tm_year + 1900, l.tm_hour, l.tm_min, l.tm_sec);
        return std::string(buf);
    };
    for (auto fn : {FormatTimeStamp, CurrentDateText}) {
        time_t before = std::time(nullptr);
        std::string text = fn();
        time_t after = std::time(nullptr);
        bool matched = false;
        for (time_t t = before; t <= after; ++t)
            matched = matched || text == text_of(t);
        EXPECT_TRUE(matched) << text;
    }
}

#include "address_pattern.h"

#include <gtest/gtest.h>

namespace {

struct PatternCase {
    const char* pattern;
    const char* address;
    bool matches;
};

TEST(AddressPattern, MatchesAsTheConsoleWritesPatterns)
{
    const PatternCase cases[] = {
        {"127 . 0 . 15 . [1-3]", "127.0.15.2", true},
        {"127 . 0 . 15 . [1-3]", "127.0.15.4", false},
        {"127 . 0 . 15 . 1-3", "127.0.15.3", true},
        {"127 . 0 . 15 . 1 - 3", "127.0.15.1", true},
        {"127 . 0 . 15 . 1-3", "127.0.15.13", false},
        {"10 . 0 . [10-20] . *", "10.0.20.255", true},
        {"10.*.5", "10.1.1.5", true},
        // Two whole addresses joined by a dash: every address between.
        {"10.0.0.250 - 10.0.1.2", "10.0.0.250", true},
        {"10.0.0.250 - 10.0.1.2", "10.0.0.255", true},
        {"10.0.0.250 - 10.0.1.2", "10.0.1.2", true},
        {"10.0.0.250 - 10.0.1.2", "10.0.1.3", false},
        {"10.0.0.250 - 10.0.1.2", "10.0.0.25", false},
        {"10 . 0 . 0 . 1 - 10 . 0 . 0 . 5", "10.0.0.5", true},
        {"10.0.0.5 - 10.0.0.1", "10.0.0.3", false},
        // Malformed: nothing matches.
        {"10.0.0.1 - 10.0.0", "10.0.0.1", false},
        {"10.0.0.1 - 10.0.0.2 - 10.0.0.3", "10.0.0.2", false},
        {"10.0.0.1.2", "10.0.0.1", false},
        {"127 . 0 . 15 . 3-1", "127.0.15.2", false},
    };
    for (const PatternCase& c : cases)
        EXPECT_EQ(AddressPattern(c.pattern).matches(c.address), c.matches) << c.pattern << " / " << c.address;
}

TEST(AddressPattern, AMalformedRangeIsNotUsable)
{
    EXPECT_TRUE(AddressPattern("10.0.0.1 - 10.0.0.9").usable());
    EXPECT_FALSE(AddressPattern("10.0.0.1 - 10.0.0.x").usable());
    EXPECT_FALSE(AddressPattern("1.2.3.4.5").usable());
}

}  // namespace

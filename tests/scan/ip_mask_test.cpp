#include "ip_mask.h"

#include "../common/log_capture.h"

#include <gtest/gtest.h>

namespace {

struct MaskCase {
    const char* mask;
    size_t count;
    const char* first;  // null when nothing is expected
    const char* last;
};

TEST(ExpandIpMask, AcceptedMasks)
{
    const MaskCase cases[] = {
        {"10.1.2.3", 1, "10.1.2.3", "10.1.2.3"},
        {"10.1.2.5-3", 0, nullptr, nullptr},
        {"10.0.*.1-3", 768, "10.0.0.1", "10.0.255.3"},
        {"192.168.1.*", 254, "192.168.1.1", "192.168.1.254"},
        {" [10] . 1-3 . 5-6 . [7] ", 6, "10.1.5.7", "10.3.6.7"},
        {"10.1.2", 1, "10.1.2.0", "10.1.2.0"},
        {"10.1.2.4-", 1, "10.1.2.4", "10.1.2.4"},
        {"10.1.*.*", 256 * 254, "10.1.0.1", "10.1.255.254"},
        {"10.1.*.0-255", 65536, "10.1.0.0", "10.1.255.255"},
        {"127.0.0.255", 1, "127.0.0.255", "127.0.0.255"},
        // Two addresses joined by a dash, as the console writes a range.
        {"10.0.0.1 - 10.0.0.5", 5, "10.0.0.1", "10.0.0.5"},
        {"127 . 0 . 0 . 250 - 127 . 0 . 1 . 2", 9, "127.0.0.250", "127.0.1.2"},
        {"10.0.0.7-10.0.0.7", 1, "10.0.0.7", "10.0.0.7"},
        {"10.0.0.5 - 10.0.0.1", 0, nullptr, nullptr},
        {"10.0.0.0 - 10.0.255.255", 65536, "10.0.0.0", "10.0.255.255"},
    };
    for (const MaskCase& c : cases) {
        std::vector<uint32_t> list{0xdeadbeef};
        EXPECT_TRUE(expand_ip_mask(c.mask, list)) << c.mask;
        ASSERT_EQ(list.size(), c.count + 1) << c.mask;
        if (c.first) {
            EXPECT_EQ(ip_to_text(list[1]), c.first) << c.mask;
            EXPECT_EQ(ip_to_text(list.back()), c.last) << c.mask;
        }
        for (size_t i = 2; i < list.size(); ++i)
            ASSERT_LT(list[i - 1], list[i]) << c.mask;
    }
}

TEST(ExpandIpMask, RefusedMasksAppendNothingAndSayWhy)
{
    const struct {
        const char* mask;
        const char* reason;
    } cases[] = {
        {"256.1.1.1", "outside 0-255"},
        {"10.1.2.300", "outside 0-255"},
        {"10.1.2.1-256", "outside 0-255"},
        {"10.1.2.99999999999999999999", "outside 0-255"},
        {"*.1.1.1", "first octet"},
        {"10.*.*.*", "more than 65536"},
        {"10.0-1.*.0-255", "more than 65536"},
        {"10.0.0.0 - 10.1.0.0", "more than 65536"},
        {"10.0.0.1 - 10.0.0", "neither four octets nor two addresses"},
        {"10.0.0.1 - 10.0.0.300", "neither four octets nor two addresses"},
        {"10.0.0.1 - 10.0.0.2 - 10.0.0.3", "neither four octets nor two addresses"},
        {"10.0.0.1-3 - 10.0.0.5", "neither four octets nor two addresses"},
        {"1.2.3.4.5", "neither four octets nor two addresses"},
    };
    for (const auto& c : cases) {
        LogCapture log;
        set_errorlevel("11111111100000000000");
        std::vector<uint32_t> list;
        EXPECT_FALSE(expand_ip_mask(c.mask, list)) << c.mask;
        EXPECT_TRUE(list.empty()) << c.mask;
        std::string text = log.text();
        EXPECT_NE(text.find("Error"), std::string::npos) << c.mask;
        EXPECT_NE(text.find(c.reason), std::string::npos) << c.mask << ": " << text;
    }
}

TEST(IpText, ParseAndPrint)
{
    uint32_t a = 0;
    ASSERT_TRUE(parse_ipv4("10.0.0.1", a));
    EXPECT_EQ(a, 0x0a000001u);
    EXPECT_EQ(ip_to_text(a), "10.0.0.1");
    EXPECT_EQ(ip_to_text(0xffffffffu), "255.255.255.255");
    for (const char* bad : {"10.0.0", "10.0.0.1.2", "10.0.0.256", "10..0.1", "a.b.c.d", ""})
        EXPECT_FALSE(parse_ipv4(bad, a)) << bad;
}

TEST(IpText, SplitKeepsEmptyParts)
{
    EXPECT_EQ(split_string("a..b.", '.'), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_EQ(split_string("", '.'), (std::vector<std::string>{""}));
}

TEST(IpText, ReverseLookupOfLoopback)
{
    // /etc/hosts names 127.0.0.1 on every machine this runs on.
    EXPECT_FALSE(lookup_host_name("127.0.0.1").empty());
    EXPECT_EQ(lookup_host_name("not an address"), "");
}

}  // namespace

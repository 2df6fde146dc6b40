#include "qr_memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

std::string text(const qr_memory<char>& m)
{
    return m.size() == 0 ? std::string() : std::string(m.data(), m.size());
}

}  // namespace

TEST(Memory, ConstructionAndAppend)
{
    qr_memory<char> empty;
    EXPECT_EQ(empty.size(), 0u);
    EXPECT_EQ(empty.data(), nullptr);

    qr_memory<char> sized(5);
    EXPECT_EQ(sized.size(), 5u);
    ASSERT_NE(sized.data(), nullptr);

    qr_memory<char> m;
    EXPECT_EQ(m.append("abc", 3), 3u);
    EXPECT_EQ(m.append("", 0), 3u);
    EXPECT_EQ(m.append("defgh", 5), 8u);
    EXPECT_EQ(text(m), "abcdefgh");

    qr_memory<char> other;
    other.append("XY", 2);
    EXPECT_EQ(m.append(other), 10u);
    EXPECT_EQ(m.append(empty), 10u);
    EXPECT_EQ(text(m), "abcdefghXY");
    EXPECT_EQ(text(other), "XY");
}

TEST(Memory, AppendFromItself)
{
    qr_memory<char> m;
    m.append("0123456789", 10);
    for (int i = 0; i < 6; ++i)  // each round doubles it: the buffer moves
        m.append(m);
    ASSERT_EQ(m.size(), 640u);
    std::string expected;
    for (int i = 0; i < 64; ++i)
        expected += "0123456789";
    EXPECT_EQ(text(m), expected);
    m.append(m.data() + 3, 2);
    EXPECT_EQ(text(m).substr(638), "8934");
}

TEST(Memory, CopiesAreDeep)
{
    qr_memory<char> a;
    a.append("hello", 5);
    qr_memory<char> b(a);
    qr_memory<char> c(3);
    c = a;
    a.data()[0] = 'J';
    a.append("!", 1);
    EXPECT_EQ(text(a), "Jello!");
    EXPECT_EQ(text(b), "hello");
    EXPECT_EQ(text(c), "hello");

    qr_memory<char>& alias = c;
    c = alias;
    EXPECT_EQ(text(c), "hello");
    c = qr_memory<char>();
    EXPECT_EQ(c.size(), 0u);
    EXPECT_EQ(c.data(), nullptr);
}

TEST(Memory, AppendBeyondTheSizeLimitThrowsAndKeepsTheContents)
{
    qr_memory<char> m;
    m.append("abc", 3);
    try {
        m.append("x", UINT32_MAX);
        FAIL() << "no exception";
    } catch (const qr_exception_t& e) {
        EXPECT_STREQ(e.what(), "qr_memory<>::append Failed to allocate 4294967298 of type 'char'");
    }
    EXPECT_EQ(text(m), "abc");
}

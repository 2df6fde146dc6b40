// The client library's frame reader and its start-tag reader: pure code,
// tested exhaustively over split points and a table of malformed input.
#include "frame_codec.h"
#include "root_tag.h"

#include <gtest/gtest.h>

using trvclient::FrameDecoder;

namespace {

std::vector<std::string> Texts(const std::vector<std::string>& payloads)
{
    std::vector<std::string> texts;
    for (const std::string& p : payloads) {
        std::string text;
        EXPECT_TRUE(trvclient::DecodePayload(p, text));
        texts.push_back(text);
    }
    return texts;
}

}  // namespace

TEST(FrameDecoder, TwoFramesSplitAtEveryPairOfPointsGiveTheSameTexts)
{
    const std::string stream = trvclient::EncodeFrame("<A x=\"1\"/>") + trvclient::EncodeFrame("<B y=\"%%\"/>");
    for (std::size_t i = 0; i <= stream.size(); ++i) {
        for (std::size_t j = i; j <= stream.size(); ++j) {
            FrameDecoder decoder;
            std::vector<std::string> payloads;
            ASSERT_EQ(decoder.Feed(stream.data(), i, payloads), FrameDecoder::Status::ok);
            ASSERT_EQ(decoder.Feed(stream.data() + i, j - i, payloads), FrameDecoder::Status::ok);
            ASSERT_EQ(decoder.Feed(stream.data() + j, stream.size() - j, payloads), FrameDecoder::Status::ok);
            ASSERT_EQ(Texts(payloads), (std::vector<std::string>{"<A x=\"1\"/>", "<B y=\"%%\"/>"}))
                << "split at " << i << " and " << j;
            EXPECT_EQ(decoder.Buffered(), 0u);
        }
    }
}

TEST(FrameDecoder, AnEmptyTextIsAFrameToo)
{
    FrameDecoder decoder;
    std::vector<std::string> payloads;
    const std::string frame = trvclient::EncodeFrame("");
    EXPECT_EQ(frame, "10          0");
    EXPECT_EQ(decoder.Feed(frame.data(), frame.size(), payloads), FrameDecoder::Status::ok);
    EXPECT_EQ(Texts(payloads), std::vector<std::string>{""});
}

TEST(FrameDecoder, WhatNoServerSendsIsRefusedForGood)
{
    const struct {
        std::string bytes;
        FrameDecoder::Status status;
    } cases[] = {
        {"abc 1 x", FrameDecoder::Status::malformed},
        {" 1 x", FrameDecoder::Status::malformed},
        {"1x 1", FrameDecoder::Status::malformed},
        {"-5 abc", FrameDecoder::Status::malformed},
        {std::string("1 \0", 3), FrameDecoder::Status::malformed},
        {"134217793 ", FrameDecoder::Status::oversized},
        {"1234567890", FrameDecoder::Status::oversized},  // a tenth digit before any blank
    };
    for (const auto& c : cases) {
        FrameDecoder decoder;
        std::vector<std::string> payloads;
        EXPECT_EQ(decoder.Feed(c.bytes.data(), c.bytes.size(), payloads), c.status) << c.bytes;
        EXPECT_TRUE(payloads.empty());
        const std::string good = trvclient::EncodeFrame("<A/>");
        EXPECT_EQ(decoder.Feed(good.data(), good.size(), payloads), c.status);
        EXPECT_TRUE(payloads.empty());
    }
    // The largest allowed length is waited for, not refused.
    FrameDecoder decoder;
    std::vector<std::string> payloads;
    EXPECT_EQ(decoder.Feed("134217792 ", 10, payloads), FrameDecoder::Status::ok);
}

TEST(FrameDecoder, PayloadsThatDoNotDecodeAreTold)
{
    std::string text = "kept";
    EXPECT_FALSE(trvclient::DecodePayload("short", text));
    EXPECT_FALSE(trvclient::DecodePayload("        99xyzw", text));
    EXPECT_TRUE(trvclient::DecodePayload("         0", text));
    EXPECT_EQ(text, "");
}

TEST(RootTag, ReadsTheFirstElementsNameAndAttributes)
{
    trvclient::RootTag tag;
    ASSERT_TRUE(trvclient::ReadRootTag("<?xml version=\"1.0\"?><!-- c --> <TREEITEM uid=\"5\" synch = '12' name=\"a>b\"><X/></TREEITEM>", tag));
    EXPECT_EQ(tag.name, "TREEITEM");
    ASSERT_TRUE(tag.Synch().has_value());
    EXPECT_EQ(*tag.Synch(), 12);
    ASSERT_NE(tag.Find("name"), nullptr);
    EXPECT_EQ(tag.Find("name")->value, "a>b");

    for (const char* bad : {"", "text", "<", "<A", "<A x=1/>", "<A x=\"1/>", "< A/>", "<A x/>"})
        EXPECT_FALSE(trvclient::ReadRootTag(bad, tag)) << bad;
    for (const char* no_synch : {"<A/>", "<A synch=\"\"/>", "<A synch=\"1x\"/>", "<A synch=\"99999999999\"/>"}) {
        ASSERT_TRUE(trvclient::ReadRootTag(no_synch, tag)) << no_synch;
        EXPECT_FALSE(tag.Synch().has_value()) << no_synch;
    }
}

TEST(RootTag, StampingSetsOneSynch)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"<GETSERVERINFO/>", "<GETSERVERINFO synch=\"42\"/>"},
        {"<SCAN uid=\"3\"/>", "<SCAN synch=\"42\" uid=\"3\"/>"},
        {"<A synch='7' b=\"1\">x</A>", "<A synch='42' b=\"1\">x</A>"},
        {" <A\n/>", " <A synch=\"42\"\n/>"},
    };
    for (const auto& c : cases) {
        trvclient::RootTag tag;
        ASSERT_TRUE(trvclient::ReadRootTag(c.in, tag));
        EXPECT_EQ(trvclient::StampSynch(c.in, tag, 42), c.out);
    }
}

#include "qr_payload.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <new>
#include <random>
#include <string>
#include <sys/stat.h>
#include <tinyxml.h>
#include <unistd.h>
#include <vector>
#include <zlib.h>

// The largest single allocation made while `tracking` is on: proves that a
// hostile announced size never reaches the allocator.
static std::atomic<bool> tracking{false};
static std::atomic<size_t> largest{0};

// Plain malloc/free underneath, so the compiler's pairing check has nothing to say.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(size_t size)
{
    if (tracking.load(std::memory_order_relaxed)) {
        size_t seen = largest.load();
        while (size > seen && !largest.compare_exchange_weak(seen, size)) {
        }
    }
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

const std::string blanks9 = "         ";

// Bytes 1..255 in a fixed pseudo-random order: incompressible, so the stream
// is full of zero and percent bytes.
std::string noisy_text(size_t n)
{
    std::mt19937 gen(1234);
    std::string text(n, ' ');
    for (char& c : text)
        c = static_cast<char>(1 + gen() % 255);
    return text;
}

std::string xml_text(size_t n)
{
    std::string text = "<TABLE NAME=\"Interfaces\">";
    for (int row = 0; text.size() < n; ++row)
        text += "<ROW ID=\"" + std::to_string(row) + "\" IFNAME=\"eth" + std::to_string(row % 48) +
                "\" ADDR=\"10.0." + std::to_string(row % 250) + ".1\" SPEED=\"1000000000\"/>";
    return text + "</TABLE>";
}

std::string escape(const std::string& stream)
{
    std::string out;
    for (char c : stream)
        out += c == '\0' ? std::string("%1") : c == '%' ? std::string("%2") : std::string(1, c);
    return out;
}

class TempDir {
public:
    TempDir()
    {
        char pattern[] = "/tmp/trv-payload-XXXXXX";
        path = ::mkdtemp(pattern);
    }
    ~TempDir() { std::system(("rm -rf '" + path + "'").c_str()); }
    std::string path;
};

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_file(const std::string& path, const std::string& data)
{
    std::ofstream(path, std::ios::binary) << data;
}

std::string field(long n)
{
    char text[32];
    std::snprintf(text, sizeof text, "%10ld", n);
    return text;
}

bool exists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

}  // namespace

TEST(Payload, KnownForms)
{
    EXPECT_EQ(CompressPayload("", true), blanks9 + "0");
    EXPECT_EQ(DecompressPayload(blanks9 + "0", true), "");
    EXPECT_EQ(DecompressPayload(blanks9 + "5", true), "");  // no stream at all

    const std::string text = xml_text(1234).substr(0, 1234);
    const std::string payload = CompressPayload(text, true);
    EXPECT_EQ(payload.substr(0, 10), "      1234");
    EXPECT_LT(payload.size(), text.size());
    EXPECT_EQ(DecompressPayload(payload, true), text);

    // Texts far shorter than their own stream still make a valid payload.
    for (const std::string& tiny : {std::string("a"), std::string("<A/>"), std::string("%")}) {
        const std::string p = CompressPayload(tiny, true);
        EXPECT_EQ(p.substr(0, 10), blanks9 + std::to_string(tiny.size()));
        EXPECT_EQ(DecompressPayload(p, true), tiny);
    }
}

TEST(Payload, ZeroAndPercentBytesAreEscaped)
{
    const std::string text = noisy_text(20000);
    const std::string raw = CompressPayload(text, false);
    const std::string stream = raw.substr(10);
    ASSERT_NE(stream.find('\0'), std::string::npos);
    ASSERT_NE(stream.find('%'), std::string::npos);

    const std::string payload = CompressPayload(text, true);
    EXPECT_EQ(payload.find('\0'), std::string::npos);
    EXPECT_EQ(payload, raw.substr(0, 10) + escape(stream));
    EXPECT_EQ(DecompressPayload(payload, true), text);
    EXPECT_EQ(DecompressPayload(raw, false), text);

    // '%' followed by any character other than '1' stands for a percent sign.
    std::string other_marks = raw.substr(0, 10);
    for (char c : stream)
        other_marks += c == '\0' ? std::string("%1") : c == '%' ? std::string("%x") : std::string(1, c);
    EXPECT_EQ(DecompressPayload(other_marks, true), text);
}

TEST(Payload, BadPayloadsGiveTheEmptyText)
{
    const std::string text = xml_text(5000);
    const std::string good = CompressPayload(text, true);
    const std::string stream = good.substr(10);
    // Damage a byte that is no escape mark nor the character after one (any
    // character there but '1' means the same '%').
    std::string damaged = good;
    size_t at = damaged.size() / 2;
    while (damaged[at] == '%' || damaged[at - 1] == '%')
        ++at;
    damaged[at] ^= 0x5a;

    struct Case {
        const char* name;
        std::string payload;
    } cases[] = {
        {"nine characters", good.substr(0, 9)},
        {"negative size", "        -1" + stream},
        {"huge size", "9999999999" + stream},
        {"above the cap", field(max_payload_text_size + 1) + stream},
        {"under the cap but far beyond what the stream can hold", field(max_payload_text_size) + stream},
        {"size smaller than the text", field(static_cast<long>(text.size()) - 1) + stream},
        {"damaged stream", damaged},
        {"cut stream", good.substr(0, good.size() - 8)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        largest = 0;
        tracking = true;
        std::string got = DecompressPayload(c.payload, true);
        tracking = false;
        EXPECT_EQ(got, "");
        EXPECT_LT(largest.load(), 1024u * 1024u);
    }

    // A size above the text's own is fine: the text is what the stream holds.
    // The decoder's buffers grow with the text, not with the announced size.
    std::string roomy = field(99999) + stream;
    largest = 0;
    tracking = true;
    std::string got = DecompressPayload(roomy, true);
    tracking = false;
    EXPECT_EQ(got, text);
    EXPECT_GE(largest.load(), text.size());
    EXPECT_LT(largest.load(), 99999u);
}

// A frame of a few tens of kilobytes can inflate to tens of megabytes: the
// bounded decoder refuses it, honest about its size or not, without ever
// holding much more than its limit.
TEST(Payload, ABoundedDecodeNeverHoldsMoreThanItsLimit)
{
    const size_t limit = 64 * 1024;
    const std::string bomb_text = "<LOGIN Type=\"" + std::string(32 * 1024 * 1024, 'A') + "\"/>";
    // One single-pass stream, the smallest a sender could make of it.
    uLongf size = compressBound(static_cast<uLong>(bomb_text.size()));
    std::vector<Bytef> deflated(size);
    ASSERT_EQ(compress2(deflated.data(), &size, reinterpret_cast<const Bytef*>(bomb_text.data()),
                        static_cast<uLong>(bomb_text.size()), 9),
              Z_OK);
    const std::string bomb = field(static_cast<long>(bomb_text.size())) +
                             escape(std::string(reinterpret_cast<const char*>(deflated.data()), size));
    ASSERT_LT(bomb.size(), 64u * 1024u);
    const std::string stream = bomb.substr(10);
    const std::string fits = "<LOGIN Type=\"" + std::string(limit - 20, 'B') + "\"/>";
    ASSERT_LE(fits.size(), limit);
    struct Case {
        const char* name;
        std::string payload;
        PayloadStatus status;
        std::string text;
    } cases[] = {
        {"announces its true size", bomb, PayloadStatus::too_large, ""},
        {"announces the limit", field(static_cast<long>(limit)) + stream, PayloadStatus::damaged, ""},
        {"announces a little", field(100) + stream, PayloadStatus::damaged, ""},
        {"within the limit", CompressPayload(fits, true), PayloadStatus::text, fits},
        {"empty", blanks9 + "0", PayloadStatus::text, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text = "stale";
        std::string why;
        largest = 0;
        tracking = true;
        const PayloadStatus status = DecompressPayloadWithin(c.payload, true, limit, text, why);
        tracking = false;
        EXPECT_EQ(status, c.status) << why;
        EXPECT_TRUE(text == c.text);
        EXPECT_EQ(why.empty(), c.status == PayloadStatus::text) << why;
        EXPECT_LT(largest.load(), 2 * limit + c.payload.size());
    }
}

TEST(Payload, IndependentZlibReadsAndWritesTheSameForm)
{
    TempDir dir;
    const std::string decoder =
        "import sys, zlib\n"
        "d = open(sys.argv[1], 'rb').read()\n"
        "n, s, out, i = int(d[:10]), d[10:], bytearray(), 0\n"
        "while i < len(s):\n"
        "    if s[i] == 0x25 and i + 1 < len(s):\n"
        "        out.append(0 if s[i + 1] == 0x31 else 0x25); i += 2\n"
        "    else:\n"
        "        out.append(s[i]); i += 1\n"
        "t = zlib.decompress(bytes(out))\n"
        "assert len(t) == n\n"
        "open(sys.argv[2], 'wb').write(t)\n";
    const std::string encoder =
        "import sys, zlib\n"
        "t = open(sys.argv[1], 'rb').read()\n"
        "z = zlib.compress(t, 9).replace(b'%', b'%2').replace(b'\\0', b'%1')\n"
        "open(sys.argv[2], 'wb').write(b'%10d' % len(t) + z)\n";
    write_file(dir.path + "/decode.py", decoder);
    write_file(dir.path + "/encode.py", encoder);

    for (const std::string& text : {xml_text(100000), noisy_text(30000), std::string("x")}) {
        write_file(dir.path + "/ours", CompressPayload(text, true));
        ASSERT_EQ(std::system(("python3 " + dir.path + "/decode.py " + dir.path + "/ours " + dir.path + "/plain").c_str()), 0);
        EXPECT_TRUE(read_file(dir.path + "/plain") == text);

        write_file(dir.path + "/text", text);
        ASSERT_EQ(std::system(("python3 " + dir.path + "/encode.py " + dir.path + "/text " + dir.path + "/theirs").c_str()), 0);
        const std::string theirs = read_file(dir.path + "/theirs");
        EXPECT_TRUE(DecompressPayload(theirs, true) == text);
        // Same level, same zlib format: the same bytes.
        EXPECT_TRUE(theirs == CompressPayload(text, true));
    }
}

// Large texts are deflated in pieces on several threads; the stream must
// still be one zlib stream at level 9 that any inflater reads whole, and
// about as small as one made in a single pass.
TEST(Payload, LargeTextsMakeOneStreamAnyZlibReads)
{
    TempDir dir;
    const std::string decoder =
        "import sys, zlib\n"
        "s = open(sys.argv[1], 'rb').read()[10:]\n"
        "assert s[:2] == b'\\x78\\xda', s[:2]\n"
        "open(sys.argv[2], 'wb').write(zlib.decompress(s))\n";
    write_file(dir.path + "/decode.py", decoder);

    // Sizes around the piece boundaries, and XML with an incompressible
    // stretch that puts zero and percent bytes into the stream.
    std::string mixed = xml_text(1500000);
    mixed.insert(700000, noisy_text(300000));
    for (const std::string& text : {xml_text(1024 * 1024), xml_text(3 * 1024 * 1024 + 17), mixed}) {
        const std::string unescaped = CompressPayload(text, false);
        write_file(dir.path + "/ours", unescaped);
        ASSERT_EQ(std::system(("python3 " + dir.path + "/decode.py " + dir.path + "/ours " + dir.path + "/plain").c_str()),
                  0);
        EXPECT_TRUE(read_file(dir.path + "/plain") == text);
        EXPECT_TRUE(DecompressPayload(CompressPayload(text, true), true) == text);

        uLongf single = compressBound(static_cast<uLong>(text.size()));
        std::vector<Bytef> stream(single);
        ASSERT_EQ(compress2(stream.data(), &single, reinterpret_cast<const Bytef*>(text.data()),
                            static_cast<uLong>(text.size()), 9),
                  Z_OK);
        EXPECT_LT(unescaped.size() - 10, single + single / 100 + 64) << text.size();
    }
}

TEST(Payload, TestCreateFile)
{
    TempDir dir;
    const std::string existing = dir.path + "/existing";
    write_file(existing, "keep me");
    EXPECT_FALSE(TestCreateFile(existing));
    EXPECT_EQ(read_file(existing), "keep me");

    const std::string fresh = dir.path + "/fresh";
    EXPECT_TRUE(TestCreateFile(fresh));
    EXPECT_FALSE(exists(fresh));

    EXPECT_FALSE(TestCreateFile(dir.path + "/no-such-folder/file"));
    EXPECT_FALSE(exists(dir.path + "/no-such-folder"));
}

TEST(Payload, GetAttributeText)
{
    TiXmlElement element("SERVER");
    element.SetAttribute("DSN", "Inventory");
    element.SetAttribute("EMPTY", "");
    struct Case {
        TiXmlElement* element;
        const char* name;
        const char* expected;
    } cases[] = {
        {&element, "DSN", "Inventory"},
        {&element, "EMPTY", ""},
        {&element, "MISSING", "before"},
        {&element, "dsn", "before"},
        {nullptr, "DSN", "before"},
    };
    for (const Case& c : cases) {
        std::string value = "before";
        GetAttributeText(value, c.element, c.name);
        EXPECT_EQ(value, c.expected) << c.name;
    }
}

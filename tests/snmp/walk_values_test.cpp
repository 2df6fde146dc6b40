// Walk files, the scans over them and the value functions, on a walk file
// made with `snmpwalk -v1 -On -Oe -Ot` (tests/snmp/fixtures/host1.walk, a
// test agent's system and interfaces groups and part of its host resources,
// plus hand-written tables in the same form), and the PCI names file that
// the build puts into the program folder.
#include "pci_names.h"
#include "progdir.h"
#include "qr_exception.h"
#include "scan_table.h"
#include "snmp_scramble.h"
#include "value_functions.h"
#include "walk_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <thread>
#include <unistd.h>

namespace {

std::string source_dir()
{
    const char* dir = std::getenv("TRV_SOURCE_DIR");
    return dir ? dir : ".";
}

// The build's program folder; tests run from <build>/tests.
std::string program_dir()
{
    const char* dir = std::getenv("TRV_BINARY_DIR");
    return dir ? std::string(dir) + "/bin" : GetProgramFolder() + "/../bin";
}

std::string fixture()
{
    return source_dir() + "/tests/snmp/fixtures/host1.walk";
}

typedef std::vector<std::string> Values;

Values read(const std::string& oid, const std::string& path = fixture())
{
    Values values{"stale"};
    EXPECT_EQ(read_walk_file("127.0.0.9", oid, "public", path, values), 0);
    return values;
}

class TempFile {
public:
    explicit TempFile(const std::string& text)
    {
        char pattern[] = "/tmp/trv-walk-XXXXXX";
        int fd = mkstemp(pattern);
        close(fd);
        path = pattern;
        std::ofstream(path) << text;
    }
    ~TempFile() { unlink(path.c_str()); }
    std::string path;
};

TEST(WalkFile, ReadsValuesUnderTheOid)
{
    EXPECT_EQ(read(".1.3.6.1.2.1.1.5"), Values{"host1"});
    // The OID as given: .1.3.6.1.2.1.1 takes .1.3.6.1.2.1.1.x lines only.
    Values system = read(".1.3.6.1.2.1.1");
    ASSERT_EQ(system.size(), 8u);
    EXPECT_EQ(system[0], "Fixture host for walk files");
    EXPECT_EQ(system[1], ".1.3.6.1.4.1.9.1.516.0");
    EXPECT_EQ(system[2], "707");  // timeticks without a type word
    EXPECT_EQ(system[6], "72");
    // Octets that are not text read as the agent's answer does: digits only.
    EXPECT_EQ(read(".1.3.6.1.2.1.2.2.1.6"), (Values{"001A2B3C4D01", "001A2B3C4D02", "001A2B3C4D03"}));
    EXPECT_EQ(read(".1.3.6.1.2.1.2.2.1.10"), (Values{"4294967294", "4294967293", "4294967292"}));
    EXPECT_TRUE(read(".1.3.6.1.2.1.1.5.0.1").empty());
    EXPECT_TRUE(read(".1.3.6.1.2.1.9").empty());

    Values lines;
    read_walk_file_entries(".1.3.6.1.2.1.2.2.1.2", fixture(), lines, true, false);
    EXPECT_EQ(lines, (Values{".1.3.6.1.2.1.2.2.1.2.1 eth1-host1", ".1.3.6.1.2.1.2.2.1.2.2 eth2-host1",
                             ".1.3.6.1.2.1.2.2.1.2.3 eth3-host1"}));
}

TEST(WalkFile, LineForms)
{
    TempFile file(
        "'.1.3.6.1.2.1.1.5.0' = STRING: \"host1\"\n"
        "  .1.3.6.1.2.1.1.6.0 = 5  \n"
        ".1.3.6.1.2.1.1.7.0\n"
        ".1.3.6.1.2.1.1.8.0 = Hex-STRING: 41 42 43 \n"
        ".1.3.6.1.2.1.1.9.0 plain text\n"
        ".1.3.6.1.2.1.10.1.0 = INTEGER: 99\n" +
        std::string(".1.3.6.1.2.1.1.4.0 = STRING: ") + std::string(600, 'y') + "\n");
    Values values = read(".1.3.6.1.2.1.1", file.path);
    ASSERT_GE(values.size(), 5u);
    EXPECT_EQ(values[0], "host1");
    EXPECT_EQ(values[1], "5");
    EXPECT_EQ(values[2], "ABC");
    EXPECT_EQ(values[3], "plain text");
    // A long line comes in pieces of 499 characters; only the first starts with the OID.
    EXPECT_EQ(values[4], std::string(499 - std::string(".1.3.6.1.2.1.1.4.0 = STRING: ").size(), 'y'));
    EXPECT_EQ(values.size(), 5u);
}

// What snmpwalk writes, read as the session layer reads the agent's answer:
// quoted texts with their escapes and line ends, octet strings over several
// lines, empty values, and the scrambled values of the enterprise subtree in
// every form snmpwalk prints them.
TEST(WalkFile, SnmpwalkFormsReadAsTheAgentsAnswers)
{
    auto octets = [](std::string bytes) {
        scramble_octets(reinterpret_cast<unsigned char*>(bytes.data()), bytes.size());
        static const char digits[] = "0123456789ABCDEF";
        std::string out;
        for (unsigned char b : bytes)
            out += std::string(1, digits[b >> 4]) + digits[b & 15] + " ";
        return out;
    };
    int32_t five = 5;
    scramble_int32(&five);
    uint32_t gauge = 4000000001u, ticks = 12345;
    scramble_int32(&gauge);
    scramble_int32(&ticks);
    // Octets whose scrambled form is all printable: snmpwalk quotes them.
    std::string printable = "\xC4\xC7";
    scramble_octets(reinterpret_cast<unsigned char*>(printable.data()), printable.size());
    ASSERT_EQ(printable, "ab");
    // 20 octets, wrapped after 16 as snmpwalk does.
    std::string long_octets = octets(std::string(20, 'x'));
    long_octets.insert(16 * 3, "\n");
    TempFile file(".1.3.6.1.4.1.99998.1.0 = STRING: \"a\\\"b\\\\c\"\n"
                  ".1.3.6.1.4.1.99998.2.0 = STRING: \"first line \n"
                  "second line\"\n"
                  ".1.3.6.1.4.1.99998.3.0 = Hex-STRING: 00 1A 2B 3C 4D 01 02 03 04 05 06 07 08 09 0A 0B \n"
                  "0C 0D 0E 0F 10 11 12 13 \n"
                  ".1.3.6.1.4.1.99998.4.0 = \"\"\n"
                  ".1.3.6.1.4.1.99998.5.0 = Hex-STRING: 48 65 6C 6C 6F 2C 20 77 6F 72 6C 64 20 6F 66 20 \n"
                  "6F 63 74 65 74 73 \n"
                  ".1.3.6.1.4.1.39871.1.1.0 = Hex-STRING: " + octets("QOR agent") + "\n"
                  ".1.3.6.1.4.1.39871.1.2.0 = INTEGER: " + std::to_string(five) + "\n"
                  ".1.3.6.1.4.1.39871.1.3.0 = Gauge32: " + std::to_string(gauge) + "\n"
                  ".1.3.6.1.4.1.39871.1.4.0 = " + std::to_string(ticks) + "\n"
                  ".1.3.6.1.4.1.39871.1.5.0 = OID: .1.3.6.1.4.1.39871.9.1\n"
                  ".1.3.6.1.4.1.39871.1.6.0 = IpAddress: 10.1.2.3\n"
                  ".1.3.6.1.4.1.39871.1.7.0 = STRING: \"ab\"\n"
                  ".1.3.6.1.4.1.39871.1.8.0 = Hex-STRING: " + long_octets + "\n");

    EXPECT_EQ(read(".1.3.6.1.4.1.99998", file.path),
              (Values{"a\"b\\c", "first line second line", "001A2B3C4D0102030405060708090A0B0C0D0E0F10111213", "",
                      "Hello, world of octets"}));
    EXPECT_EQ(read(".1.3.6.1.4.1.39871", file.path),
              (Values{"QOR agent", "5", "4000000001", "12345", ".1.3.6.1.4.1.39871.9.1", "10.1.2.3", "\xC4\xC7",
                      std::string(20, 'x')}));
    Values lines;
    read_walk_file_entries(".1.3.6.1.4.1.39871.1.1", file.path, lines, true, false);
    EXPECT_EQ(lines, Values{".1.3.6.1.4.1.39871.1.1.0 QOR agent"});
    read_walk_file_entries(".1.3.6.1.4.1.99998.3", file.path, lines, true, false);
    EXPECT_EQ(lines, Values{".1.3.6.1.4.1.99998.3.0 001A2B3C4D0102030405060708090A0B0C0D0E0F10111213"});
}

TEST(WalkFile, AQuoteThatNeverClosesEndsWithinItsBound)
{
    // A damaged file: the value's quote never closes. The entries after its
    // bound are read again, one per line.
    std::string text = ".1.3.6.1.4.1.99998.1.0 = STRING: \"unclosed\n";
    for (int i = 0; i < 3000; ++i)
        text += "filler line " + std::to_string(i) + " of a value that never ends\n";
    for (int i = 1; i <= 3; ++i)
        text += ".1.3.6.1.4.1.99998.2." + std::to_string(i) + " = INTEGER: " + std::to_string(i) + "\n";
    TempFile file(text);
    EXPECT_EQ(read(".1.3.6.1.4.1.99998.2", file.path), (Values{"1", "2", "3"}));
}

TEST(WalkFile, MissingFileRaises)
{
    Values values;
    try {
        read_walk_file("127.0.0.9", ".1.3", "public", "/nonexistent/trv.walk", values);
        FAIL() << "no exception";
    } catch (const qr_exception_t& e) {
        EXPECT_EQ(e.message(), "Cannot open file '/nonexistent/trv.walk' (errno=2)");
    }
}

TEST(WalkFile, ConsoleNamesStayInsideSnmpOutput)
{
    std::string path;
    EXPECT_TRUE(snmp_output_path("/opt/trv", "host1.txt", path));
    EXPECT_EQ(path, "/opt/trv/SnmpOutput/host1.txt");
    for (const char* bad : {"", ".", "..", "../etc/passwd", "/etc/passwd", "a/b", "a\\b", "..\\x", "x.."}) {
        path = "unchanged";
        EXPECT_FALSE(snmp_output_path("/opt/trv", bad, path)) << bad;
        EXPECT_EQ(path, "unchanged");
    }
}

TEST(ScanTable, OverAWalkFile)
{
    Values values;
    EXPECT_EQ(scan_table(nullptr, "127.0.0.9", ".1.3.6.1.4.1.99999.2.1,D", "public", fixture(), values, false), 0);
    EXPECT_EQ(values, Values{"2006-05-17, 14:30:00"});
    scan_table(nullptr, "127.0.0.9", ".1.3.6.1.2.1.2.2.1.1", "public", fixture(), values, true);
    EXPECT_EQ(values, (Values{".1.3.6.1.2.1.2.2.1.1.1 1", ".1.3.6.1.2.1.2.2.1.1.2 2", ".1.3.6.1.2.1.2.2.1.1.3 3"}));
    // In line mode the date marker leaves the entries as they are.
    scan_table(nullptr, "127.0.0.9", ".1.3.6.1.4.1.99999.2.1,D", "public", fixture(), values, true);
    EXPECT_EQ(values, Values{".1.3.6.1.4.1.99999.2.1.0 07D605110E1E00"});
    // No session and no file: a failure, nothing read.
    values = {"stale"};
    EXPECT_EQ(scan_table(nullptr, "127.0.0.9", ".1.3.6.1.2.1.1", "public", "", values, false), 9);
    EXPECT_TRUE(values.empty());
    EXPECT_THROW(scan_table(nullptr, "127.0.0.9", ".1.3", "public", "/nonexistent/x", values, false),
                 qr_exception_t);
}

TEST(ScanTable, ProbesOverAWalkFile)
{
    // Trailing ".0" arcs go.
    EXPECT_EQ(GetSysObjId(nullptr, "127.0.0.9", "public", fixture()), ".1.3.6.1.4.1.9.1.516");
    TempFile zeros(".1.3.6.1.2.1.1.2.0 = OID: .1.3.6.1.4.1.9.1.0.0\n");
    EXPECT_EQ(GetSysObjId(nullptr, "127.0.0.9", "public", zeros.path), ".1.3.6.1.4.1.9.1");
    TempFile none(".1.3.6.1.2.1.1.1.0 = STRING: x\n");
    EXPECT_EQ(GetSysObjId(nullptr, "127.0.0.9", "public", none.path), "");
    EXPECT_EQ(GetAgentType(nullptr, "127.0.0.9", "public", ".1.3.6.1.2.1.25.2.3", fixture()), 2);
    EXPECT_EQ(GetAgentType(nullptr, "127.0.0.9", "public", ".1.3.6.1.4.1.39871", fixture()), 1);
}

TEST(ValueFunctions, Classification)
{
    struct {
        const char* in;
        int index;
        const char* rest;
    } cases[] = {
        {"$mul(.1.3.6.1.2.1.2.2.1.5, 8)", VF_MUL, ".1.3.6.1.2.1.2.2.1.5,8"},
        {"$CONCAT(A,$IF(x=y,1,2))", VF_IF, "X=Y,1,2)"},
        {"$concat(.1.3, \"a b\")", VF_CONCAT, ".1.3,\"ab\""},
        {"$Get_Index(.1.3.6)", VF_GET_INDEX, ".1.3.6"},
        {"$lookup(.1.3,2='k',vals3)", VF_LOOKUP, ".1.3,2='k',VALS3"},
        {".1.3.6.1.2.1.1.5", VF_NONE, ".1.3.6.1.2.1.1.5"},
        {"$unknown( a )", VF_NONE, "$UNKNOWN(A)"},
        {"$SUM", VF_SUM, ""},
    };
    for (const auto& c : cases) {
        std::string text = c.in;
        EXPECT_EQ(classify_value_function(text), c.index) << c.in;
        EXPECT_EQ(text, c.rest) << c.in;
    }
}

TEST(ValueFunctions, PaddingAndNumbers)
{
    Values a{"1", "2", "3"}, b{"x"};
    EXPECT_EQ(pad_value_pair(a, b), 3u);
    EXPECT_EQ(b, (Values{"x", "x", "x"}));
    Values empty;
    Values c{"1", "2"};
    EXPECT_EQ(pad_value_pair(empty, c), 2u);
    EXPECT_EQ(empty, (Values{"", ""}));
    std::vector<Values> lists{{"a"}, {"1", "2", "3"}, {}};
    EXPECT_EQ(pad_value_lists(lists, 3), 3u);
    EXPECT_EQ(lists[0], (Values{"a", "a", "a"}));
    EXPECT_EQ(lists[2], (Values{"", "", ""}));

    struct {
        const char* text;
        int32_t i32;
        int64_t i64;
    } numbers[] = {{"  42abc", 42, 42}, {"-17", -17, -17}, {"+5", 5, 5}, {"x", 0, 0}, {"", 0, 0},
                   {"99999999999", INT32_MAX, 99999999999LL}, {"-99999999999", INT32_MIN, -99999999999LL},
                   {"99999999999999999999", INT32_MAX, INT64_MAX}};
    for (const auto& n : numbers) {
        EXPECT_EQ(value_to_int32(n.text), n.i32) << n.text;
        EXPECT_EQ(value_to_int64(n.text), n.i64) << n.text;
    }
}

TEST(ValueFunctions, OverAWalkFile)
{
    struct {
        const char* expression;
        Values expected;
    } cases[] = {
        // 00 0A reads as the agent's answer does: NUL and line feed octets
        // are dropped, which leaves nothing.
        {"$BITARRAY(.1.3.6.1.4.1.99999.1.4)", {"", "0,15", ""}},
        {"$bitarray(\"1,3\")", {"1,3"}},
        {"$SERVICE(.1.3.6.1.2.1.1.7)", {"end-to-end, applications"}},
        {"$SERVICE(.1.3.6.1.2.1.1.99)", {}},
        {"$CISCOIMAGE(CW_IMAGE,.1.3.6.1.4.1.9.9.25.1.1.1.2)", {"C2950-I6Q4L2-M"}},
        {"$CISCOIMAGE(CW_NODOLLAR,.1.3.6.1.4.1.9.9.25.1.1.1.2)", {""}},
        {"$CISCOIMAGE(.1.3.6.1.4.1.9.9.25.1.1.1.2)", {}},
        {"$IF(.1.3.6.1.2.1.2.2.1.8=1,\"up\",\"down\")", {"up", "up", "down"}},
        {"$IF(.1.3.6.1.2.1.2.2.1.8=2,.1.3.6.1.2.1.2.2.1.2,\"-\")", {"-", "-", "eth3-host1"}},
        {"$MUL(.1.3.6.1.2.1.2.2.1.5, 8)", {"8000000000", "16000000000", "24000000000"}},
        {"$MUL(.1.3.6.1.2.1.2.2.1.4,$ADD(2,3))", {"7500", "7500", "7500"}},
        // The name that comes first in the function table wins, wherever it stands.
        {"$ADD(.1.3.6.1.2.1.2.2.1.4,$MUL(2,3))", {"6"}},
        {"$SUB(100,.1.3.6.1.2.1.2.2.1.1)", {"99", "98", "97"}},
        {"$CONCAT(.1.3.6.1.2.1.2.2.1.2,\"-\",.1.3.6.1.2.1.2.2.1.1)", {"eth1-host1-1", "eth2-host1-2", "eth3-host1-3"}},
        {"$CONCAT(\"a,b\",.1.3.6.1.2.1.1.5)", {"a,bhost1"}},
        {"$COUNT(.1.3.6.1.2.1.2.2.1.8=1)", {"2"}},
        {"$COUNT(.1.3.6.1.2.1.2.2.1.8=.1.3.6.1.2.1.2.2.1.7)", {"2"}},
        {"$COUNT(.1.3.6.1.2.1.2.2.1.8=.1.3.6.1.9)", {"3"}},
        {"$COUNT(.1.3.6.1.2.1.2.2.1.8)", {"0"}},
        {"$LOOKUP(.1.3.6.1.2.1.25.2.3.1,2=.1.3.6.1.2.1.25.2.1.4,SUM5)", {"66053021"}},
        {"$LOOKUP(.1.3.6.1.2.1.25.2.3.1,2=.1.3.6.1.2.1.25.2.1.2,COUNT3)", {"1"}},
        {"$LOOKUP(.1.3.6.1.2.1.25.2.3.1,4=1024,VALS3)", {"Physical memory", "Virtual memory"}},
        {"$LOOKUP(.1.3.6.1.2.1.25.2.3.1,4=7,SUM5)", {"0"}},
        // Gauge32 values above 2^31 count in full.
        {"$LOOKUP(.1.3.6.1.2.1.2.2.1,8=1,SUM5)", {"3000000000"}},
        {"$LOOKUP(.1.3.6.1.2.1.2.2.1,8=2,SUM5)", {"3000000000"}},
        {"$SUM(.1.3.6.1.4.1.99999.1.1)", {"6"}},
        {"$SUM(.1.3.6.1.4.1.99999.1.2)", {"6442450941"}},
        {"$SUM(.1.3.6.1.2.1.2.2.1.5)", {"6000000000"}},
        {"$SUM(.1.3.6.1.2.1.2.2.1.10)", {"12884901879"}},
        {"$SUM(.1.3.6.1.4.1.99999.9)", {}},
        {"$NOTZERO(.1.3.6.1.4.1.99999.1.3)", {"", "5", ""}},
        // 7 octets, a DateAndTime of 8 and of 11, and 6 octets, which are no date.
        {"$DATE(.1.3.6.1.4.1.99999.2)", {"2006-05-17, 14:30:00", "2006-05-17, 14:30:00", "2025-06-24, 14:37:46", ""}},
        {"$GET_INDEX(.1.3.6.1.2.1.25.2.3.1.3)", {"1", "3", "36"}},
        {"$NOSUCH(.1.3.6.1.2.1.1.5)", {}},
    };
    for (const auto& c : cases) {
        Values out{"stale"};
        apply_value_function(nullptr, "127.0.0.9", c.expression, "public", fixture(), out, program_dir());
        EXPECT_EQ(out, c.expected) << c.expression;
    }
    Values out;
    EXPECT_EQ(evaluate_argument(nullptr, "", "127.0.0.9", "public", fixture(), out, program_dir()), 1u);
    EXPECT_EQ(out, Values{""});
    EXPECT_EQ(evaluate_argument(nullptr, "\"quoted\"", "127.0.0.9", "public", fixture(), out, program_dir()), 1u);
    EXPECT_EQ(out, Values{"quoted"});
    EXPECT_EQ(evaluate_argument(nullptr, "$NOSUCH(1)", "127.0.0.9", "public", fixture(), out, program_dir()), 0u);
}

TEST(PciNames, RealPciIdsLookups)
{
    struct {
        const char* field;
        Values expected;
    } cases[] = {
        {"VENDOR", {"INTEL CORPORATION", "", "NVIDIA CORPORATION", "FEFE"}},
        {"DEVICE", {"82540EM GIGABIT ETHERNET CONTROLLER", "", "FFFF", "0001"}},
        {"SUBVENDOR", {"RED HAT, INC.", "", "NVIDIA CORPORATION", ""}},
        {"SUBDEVICE", {"QEMU VIRTUAL MACHINE", "", "0000", ""}},
        {"REVISION", {"", "", "", ""}},
        {"other", {"INTEL CORPORATION", "", "NVIDIA CORPORATION", "FEFE"}},
    };
    for (const auto& c : cases) {
        Values out;
        apply_value_function(nullptr, "127.0.0.9", std::string("$PCI_IDS(") + c.field + ",.1.3.6.1.4.1.99999.3.1)",
                             "public", fixture(), out, program_dir());
        EXPECT_EQ(out, c.expected) << c.field;
    }
    std::string ids[4] = {"0x8086", "0x100E", "0x8086", "0x001e"};
    lookup_pci_names(ids, program_dir());
    EXPECT_EQ(ids[0], "INTEL CORPORATION");
    EXPECT_EQ(ids[3], "PRO/1000 MT DESKTOP ADAPTER");
    EXPECT_EQ(normalise_pci_id("0xab12"), "AB12");
    EXPECT_EQ(text_after_key("8086  Intel  ", "8086"), "Intel");
}

TEST(PciNames, CacheIsFilledOnceFromSeveralThreads)
{
    std::vector<std::thread> threads;
    std::vector<std::string> names(6);
    for (size_t t = 0; t < names.size(); ++t) {
        threads.emplace_back([t, &names] {
            std::string ids[4] = {"10de", "", "1af4", ""};
            lookup_pci_names(ids, program_dir());
            names[t] = ids[0] + "/" + ids[2];
        });
    }
    for (std::thread& t : threads)
        t.join();
    for (const std::string& n : names)
        EXPECT_EQ(n, "NVIDIA CORPORATION/RED HAT, INC.");
}

}  // namespace

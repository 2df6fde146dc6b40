// Scramble, value texts, OIDs and the SNMP layer's own data handling:
// everything that needs no agent.
#include "snmp_data.h"
#include "snmp_oid.h"
#include "snmp_scramble.h"
#include "snmp_value_text.h"
#include "winsnmp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

TEST(Scramble, IsItsOwnInverseAndWorksBytewise)
{
    std::vector<unsigned char> bytes;
    for (int i = 0; i < 256; ++i)
        bytes.push_back(static_cast<unsigned char>(i));
    std::vector<unsigned char> copy = bytes;
    scramble_octets(copy.data(), copy.size());
    EXPECT_NE(copy, bytes);
    // Every byte maps to a different byte: nothing is lost.
    std::vector<bool> seen(256, false);
    for (unsigned char b : copy)
        seen[b] = true;
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true), 256);
    scramble_octets(copy.data(), copy.size());
    EXPECT_EQ(copy, bytes);

    // Nibble swap, key, nibble swap: 0x00 becomes the key with its nibbles swapped.
    unsigned char zero = 0;
    scramble_octets(&zero, 1);
    EXPECT_EQ(zero, static_cast<unsigned char>((QorScrambleKey << 4) | (QorScrambleKey >> 4)));

    unsigned char untouched[3] = {1, 2, 3};
    scramble_octets(untouched, 0);
    scramble_octets(nullptr, 5);
    scramble_int32(nullptr);
    EXPECT_EQ(untouched[0], 1);
    EXPECT_EQ(untouched[2], 3);

    // Byte order plays no part: each byte is transformed alone.
    uint32_t value = 0x11223344;
    scramble_int32(&value);
    unsigned char expected[4] = {0x44, 0x33, 0x22, 0x11};
    scramble_octets(expected, 4);
    uint32_t expected_value;
    std::memcpy(&expected_value, expected, 4);
    EXPECT_EQ(value, expected_value);
}

smiVALUE number(smiUINT32 syntax, uint32_t v)
{
    smiVALUE value{};
    value.syntax = syntax;
    value.value.uNumber = v;
    return value;
}

TEST(ValueToText, EachSyntax)
{
    smiVALUE v = number(SNMP_SYNTAX_INT, static_cast<uint32_t>(-5));
    v.value.sNumber = -5;
    EXPECT_EQ(snmp_value_to_text(v, false), "-5");
    struct {
        smiUINT32 syntax;
        uint32_t value;
        const char* text;
    } numbers[] = {
        {SNMP_SYNTAX_CNTR32, 4294967295u, "4294967295"},
        {SNMP_SYNTAX_GAUGE32, 2147483648u, "2147483648"},
        {SNMP_SYNTAX_TIMETICKS, 3000000000u, "3000000000"},
        {SNMP_SYNTAX_UINT32, 7, "7"},
        {SNMP_SYNTAX_NULL, 0, ""},
        {SNMP_SYNTAX_NOSUCHOBJECT, 0, ""},
    };
    for (const auto& n : numbers)
        EXPECT_EQ(snmp_value_to_text(number(n.syntax, n.value), false), n.text) << n.syntax;
    smiVALUE c64{};
    c64.syntax = SNMP_SYNTAX_CNTR64;
    c64.value.hNumber = {1, 2};
    EXPECT_EQ(snmp_value_to_text(c64, false), "");

    // Octets: upper-case hex, no separators, at most 1408 bytes.
    std::vector<smiBYTE> bytes(2000, 0xAB);
    bytes[0] = 0x0F;
    smiVALUE octets{};
    octets.syntax = SNMP_SYNTAX_OCTETS;
    octets.value.string = {static_cast<smiUINT32>(bytes.size()), bytes.data()};
    std::string text = snmp_value_to_text(octets, false);
    EXPECT_EQ(text.size(), std::strlen("Hex-STRING:") + 2816);
    EXPECT_EQ(text.substr(0, 15), "Hex-STRING:0FAB");
    octets.value.string.len = 0;
    EXPECT_EQ(snmp_value_to_text(octets, false), "Hex-STRING:");

    smiBYTE address[4] = {10, 0, 200, 255};
    smiVALUE ip{};
    ip.syntax = SNMP_SYNTAX_IPADDR;
    ip.value.string = {4, address};
    EXPECT_EQ(snmp_value_to_text(ip, false), "10.0.200.255");
    EXPECT_EQ(snmp_value_to_text(ip, true), "10.0.200.255");  // never scrambled

    smiUINT32 arcs[] = {1, 3, 6, 1, 4, 1, 39871, 7};
    smiVALUE oid{};
    oid.syntax = SNMP_SYNTAX_OID;
    oid.value.oid = {8, arcs};
    EXPECT_EQ(snmp_value_to_text(oid, true), ".1.3.6.1.4.1.39871.7");
}

TEST(ValueToText, ScrambledValuesAreRestored)
{
    int32_t original = -123456;
    int32_t sent = original;
    scramble_int32(&sent);
    smiVALUE v{};
    v.syntax = SNMP_SYNTAX_INT;
    v.value.sNumber = sent;
    EXPECT_EQ(snmp_value_to_text(v, true), "-123456");
    EXPECT_NE(snmp_value_to_text(v, false), "-123456");

    uint32_t counter = 4000000001u;
    scramble_int32(&counter);
    EXPECT_EQ(snmp_value_to_text(number(SNMP_SYNTAX_CNTR32, counter), true), "4000000001");

    smiBYTE text[] = {'d', 'i', 's', 'k'};
    scramble_octets(text, 4);
    smiVALUE octets{};
    octets.syntax = SNMP_SYNTAX_OCTETS;
    octets.value.string = {4, text};
    EXPECT_EQ(snmp_value_to_text(octets, true), "Hex-STRING:6469736B");
}

TEST(OidTexts, ParseOrderAndSubtree)
{
    std::vector<uint32_t> a, b, root;
    EXPECT_TRUE(parse_oid_arcs(".1.3.6.1.2.1.1", root));
    EXPECT_TRUE(parse_oid_arcs("1.3.6.1.2.1.1", a));
    EXPECT_EQ(a, root);
    for (const char* bad : {"", ".", "1..3", "1.3.", "a.b", "1.3.4294967296", "1.3 "})
        EXPECT_FALSE(parse_oid_arcs(bad, a)) << bad;
    EXPECT_TRUE(parse_oid_arcs("1.3.6.1.2.1.10.1", a));
    EXPECT_FALSE(oid_in_subtree(root, a));
    EXPECT_TRUE(parse_oid_arcs("1.3.6.1.2.1.1.9.1.2.1", a));
    EXPECT_TRUE(oid_in_subtree(root, a));
    EXPECT_TRUE(parse_oid_arcs("1.3.6.1.2.1.1.10", b));
    EXPECT_TRUE(oid_less(a, b));  // arc by arc, numerically: 9 < 10
    EXPECT_FALSE(oid_less(b, a));
    EXPECT_FALSE(oid_less(a, a));
    EXPECT_TRUE(is_qor_oid("1.3.6.1.4.1.39871"));
    EXPECT_TRUE(is_qor_oid(".1.3.6.1.4.1.39871.1.2"));
    EXPECT_FALSE(is_qor_oid("1.3.6.1.4.1.398710.1"));
    EXPECT_FALSE(is_qor_oid("1.3.6.1.4.1.3987"));
}

TEST(WinSnmpLayer, OidsListsAndPdus)
{
    ASSERT_EQ(SnmpStartup(nullptr, nullptr, nullptr, nullptr, nullptr), SNMPAPI_SUCCESS);
    smiOID oid{};
    ASSERT_EQ(SnmpStrToOid(".1.3.6.1.2.1.1.5.0", &oid), 9u);
    char text[64];
    EXPECT_EQ(SnmpOidToStr(&oid, sizeof text, text), std::strlen("1.3.6.1.2.1.1.5.0") + 1);
    EXPECT_STREQ(text, "1.3.6.1.2.1.1.5.0");
    char small[5];
    EXPECT_EQ(SnmpOidToStr(&oid, sizeof small, small), SNMPAPI_FAILURE);
    EXPECT_EQ(SnmpGetLastError(nullptr), SNMPAPI_OUTPUT_TRUNCATED);
    smiOID bad{};
    EXPECT_EQ(SnmpStrToOid("1.3.x", &bad), SNMPAPI_FAILURE);

    HSNMP_SESSION session = SnmpCreateSession(
        nullptr, 0, [](HSNMP_SESSION, SNMP_HWND, unsigned, uintptr_t, intptr_t, void*) -> SNMPAPI_STATUS {
            return SNMPAPI_SUCCESS;
        },
        nullptr);
    ASSERT_NE(session, nullptr);
    HSNMP_VBL vbl = SnmpCreateVbl(session, nullptr, nullptr);
    ASSERT_NE(vbl, nullptr);
    EXPECT_EQ(SnmpCountVbl(vbl), 0u);
    EXPECT_EQ(SnmpSetVb(vbl, 0, &oid, nullptr), 1u);
    smiBYTE bytes[] = {'a', 'b'};
    smiVALUE value{};
    value.syntax = SNMP_SYNTAX_OCTETS;
    value.value.string = {2, bytes};
    EXPECT_EQ(SnmpSetVb(vbl, 0, &oid, &value), 2u);
    EXPECT_EQ(SnmpSetVb(vbl, 5, &oid, &value), SNMPAPI_FAILURE);

    HSNMP_PDU pdu = SnmpCreatePdu(session, SNMP_PDU_GETNEXT, 0, 0, 0, vbl);
    ASSERT_NE(pdu, nullptr);
    HSNMP_PDU second = SnmpCreatePdu(session, SNMP_PDU_GET, 0, 0, 0, vbl);
    smiINT type = 0;
    smiINT32 id = 0, id2 = 0;
    HSNMP_VBL copy = nullptr;
    ASSERT_EQ(SnmpGetPduData(pdu, &type, &id, nullptr, nullptr, &copy), SNMPAPI_SUCCESS);
    SnmpGetPduData(second, nullptr, &id2, nullptr, nullptr, nullptr);
    EXPECT_EQ(type, SNMP_PDU_GETNEXT);
    EXPECT_GT(id, 0);
    EXPECT_NE(id, id2);
    ASSERT_EQ(SnmpCountVbl(copy), 2u);
    smiOID name{};
    smiVALUE got{};
    ASSERT_EQ(SnmpGetVb(copy, 2, &name, &got), SNMPAPI_SUCCESS);
    EXPECT_EQ(got.syntax, SNMP_SYNTAX_OCTETS);
    ASSERT_EQ(got.value.string.len, 2u);
    EXPECT_EQ(got.value.string.ptr[1], 'b');
    smiOID none{};
    EXPECT_EQ(SnmpGetVb(copy, 3, &none, nullptr), SNMPAPI_FAILURE);
    SnmpFreeDescriptor(SNMP_SYNTAX_OCTETS, &got.value.string);
    SnmpFreeDescriptor(SNMP_SYNTAX_OID, &name);
    EXPECT_EQ(name.ptr, nullptr);

    // Nothing has been sent: nothing to receive.
    HSNMP_PDU received = nullptr;
    EXPECT_EQ(SnmpRecvMsg(session, nullptr, nullptr, nullptr, &received), SNMPAPI_FAILURE);
    EXPECT_EQ(SnmpGetLastError(session), SNMPAPI_NOOP);
    // Only addresses and names make entities: no transport or port prefixes.
    EXPECT_EQ(SnmpStrToEntity(session, "tcp:127.0.0.5:1161"), nullptr);
    HSNMP_ENTITY entity = SnmpStrToEntity(session, "127.0.0.5");
    EXPECT_NE(entity, nullptr);
    SnmpFreeEntity(entity);

    SnmpFreeVbl(copy);
    SnmpFreePdu(second);
    SnmpFreePdu(pdu);
    SnmpFreeVbl(vbl);
    SnmpFreeDescriptor(SNMP_SYNTAX_OID, &oid);
    EXPECT_EQ(SnmpClose(session), SNMPAPI_SUCCESS);
    EXPECT_EQ(SnmpCleanup(), SNMPAPI_SUCCESS);
}

TEST(ValueText, Normalise)
{
    struct {
        const char* in;
        bool date;
        const char* out;
    } cases[] = {
        {"Hex-STRING:414243", false, "ABC"},
        {"Hex-STRING: 41 42 43", false, "ABC"},
        {"Hex-STRING:001A2B", false, "001A2B"},              // 0x1A is not printable
        {"Hex-STRING:07D605110E1E00", true, "2006-05-17, 14:30:00"},
        {"Hex-STRING:07D605110E1E0000", true, "2006-05-17, 14:30:00"},  // a DateAndTime
        {"Hex-STRING: 07 EA 0C 0B 07 1E 3A 00 2B 00 00 ", true, "2026-12-11, 07:30:58"},  // as snmpd sends it
        {"Hex-STRING:07D605110E", true, ""},
        {"Hex-STRING:48690D0A00", false, "Hi"},              // CR, LF and NUL are skipped
        {"ccitt.0", false, ""},
        {"39871", false, ""},
        {"\"quoted\" text", false, "quoted text"},
        {"line\r\none\ntwo\rthree", false, "line one two three"},
        {"a=b=c", false, "b=c"},
        {"41 42 43 44", false, "ABCD"},                     // printable octets from a walk file
        {"00 1A 2B", false, "00 1A 2B"},
        {"  12345  ", false, "12345"},
        {"caf\xC3\xA9", false, "caf\xC3"},                  // 0xA9 is in 128-191
    };
    for (const auto& c : cases)
        EXPECT_EQ(normalise_value_text(c.in, c.date), c.out) << c.in;
    EXPECT_EQ(normalise_value_text(std::string(3000, 'x'), false).size(), MaxValueText);
}

TEST(ValueText, HexToDate)
{
    struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"07 D6 05 11 0E 1E 00", "2006-05-17, 14:30:00"},  // the enterprise agent's 7 octets
        {"07D605110E1E00", "2006-05-17, 14:30:00"},
        // DateAndTime: the first 7 octets are the same fields; tenths of a
        // second and the offset from UTC are not shown.
        {"07 D6 05 11 0E 1E 00 09", "2006-05-17, 14:30:00"},
        {"07 D6 05 11 0E 1E 00 09 2B 02 00", "2006-05-17, 14:30:00"},
        {"07 D6 05 11 0E 1E 00 00 2D 05 1E", "2006-05-17, 14:30:00"},
        {"07 E9 01 01 00 00 00 00 2B 00 00", "2025-01-01, 00:00:00"},
        // Any other length is no date.
        {"", ""},
        {"07 D6 05 11 0E 1E", ""},
        {"07 D6 05 11 0E 1E 00 09 2B", ""},
        {"07 D6 05 11 0E 1E 00 09 2B 02", ""},
        {"07 D6 05 11 0E 1E 00 09 2B 02 00 00", ""},
        // Characters other than 0-9 and A-F count as 0; a lone last digit is
        // the high half of its octet.
        {"07 D6 05 11 0E 1E 0G", "2006-05-17, 14:30:00"},
        {"07 D6 05 11 0E 1E 0G 00 2B 00 00", "2006-05-17, 14:30:00"},
        {"07 d6 05 11 0e 1e 00", "1798-05-17, 00:16:00"},
        {"ZZ ZZ 05 11 0E 1E 00 09", "0-05-17, 14:30:00"},
        {"07D605110E1E0", "2006-05-17, 14:30:00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hex_to_date(c.in), c.out) << c.in;
}

TEST(ValueText, OctetHelpers)
{
    std::string t = "4Fzz";
    EXPECT_EQ(hex_pair_to_byte(t), 0x4F);
    EXPECT_EQ(t, "zz");
    EXPECT_EQ(hex_pair_to_byte(t), 0);  // not hex digits: zeros
    EXPECT_EQ(hex_to_text("48 49"), "HI");
    EXPECT_EQ(hex_to_text("48 7F"), "48 7F");
    EXPECT_EQ(hex_to_text("A9 C0"), "\xA9\xC0");
    EXPECT_TRUE(is_printable_hex(" 41 42 00 "));
    EXPECT_FALSE(is_printable_hex("41"));        // shorter than 5
    EXPECT_FALSE(is_printable_hex("41 4G 42"));
    EXPECT_FALSE(is_printable_hex("41 1F 42"));
    EXPECT_TRUE(is_printable_hex("6a 6b"));      // compared upper-cased
    EXPECT_EQ(printable_hex_to_text("6a 6b"), "jk");
    EXPECT_EQ(expand_hex_string(".1.3.6.1.2.1.1.5.0 Hex-STRING:686F7374"), ".1.3.6.1.2.1.1.5.0 host");
    EXPECT_EQ(expand_hex_string(".1.3 Hex-STRING:0001FF01"), ".1.3 0001FF01");
    EXPECT_EQ(expand_hex_string(".1.3 42"), ".1.3 42");
    EXPECT_EQ(drop_control_chars(std::string("a\x01\x1F" "b\x80\xBF\xC0 \x7F", 9)), "ab\xC0 \x7F");

    struct {
        const char* in;
        const char* out;
    } bits[] = {{"0A", "1,3"}, {"8001", "0,15"}, {"00", ""}, {"0000", ""}, {"1,3", "1,3"},
                {"F", "0,1,2,3"}, {"10", "4"}, {"zz1", "0"}, {"80 01", "0,15"}, {"", ""}};
    for (const auto& b : bits)
        EXPECT_EQ(hex_to_bit_list(b.in), b.out) << b.in;
}

}  // namespace

// A pass_persist handler for snmpd that plays the test agents' fixed parts:
//   test_agent ifaces   the interfaces group (.1.3.6.1.2.1.2) with fixed rows
//   test_agent qor      the QOR enterprise subtree, values scrambled as the
//                       real agent sends them
//   test_agent printer  the printer supplies table (.1.3.6.1.2.1.43.11.1.1)
//   test_agent storage  hrMemorySize and hrStorageTable (.1.3.6.1.2.1.25.2):
//                       fixed memory areas and file systems in place of the
//                       machine's, whose use changes while a test runs
// The environment (passed on by snmpd) makes each simulated host distinct:
//   TRV_AGENT_TAG       text that appears in names and descriptions
//   TRV_QOR_NOT_READY   the first N requests are answered "not ready"; a
//                       negative N: every request
//   TRV_QOR_NOT_READY_UNDER  an OID: only answers inside that subtree are
//                       "not ready" (and only they count towards N)
//   TRV_QOR_LOOP        1: the walk of .1.3.6.1.4.1.39871.3 goes back after .3.2
//   TRV_QOR_HARDWARE    1: the hardware tables under .1.3.6.1.4.1.39871.1.3.1
//                       (layout in data/admin/README.md)
#include "snmp_oid.h"
#include "snmp_scramble.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

struct Entry {
    std::vector<uint32_t> arcs;
    std::string oid;
    std::string type;
    std::string value;
};

std::vector<Entry> entries;

void add(const std::string& oid, const std::string& type, const std::string& value)
{
    Entry e;
    parse_oid_arcs(oid, e.arcs);
    e.oid = oid;
    e.type = type;
    e.value = value;
    entries.push_back(e);
}

std::string hex_of(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char b : bytes) {
        if (!out.empty())
            out += ' ';
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

std::string scrambled_octets(std::string bytes)
{
    scramble_octets(reinterpret_cast<unsigned char*>(bytes.data()), bytes.size());
    return hex_of(bytes);
}

std::string scrambled_int(int32_t v)
{
    scramble_int32(&v);
    return std::to_string(v);
}

std::string scrambled_uint(uint32_t v)
{
    scramble_int32(&v);
    return std::to_string(v);
}

void build_ifaces(const std::string& tag)
{
    const int rows = 3;
    add(".1.3.6.1.2.1.2.1.0", "integer", std::to_string(rows));
    const std::string t = ".1.3.6.1.2.1.2.2.1.";
    for (int i = 1; i <= rows; ++i) add(t + "1." + std::to_string(i), "integer", std::to_string(i));
    for (int i = 1; i <= rows; ++i) add(t + "2." + std::to_string(i), "string", "eth" + std::to_string(i) + "-" + tag);
    for (int i = 1; i <= rows; ++i) add(t + "3." + std::to_string(i), "integer", i == 1 ? "24" : "6");
    for (int i = 1; i <= rows; ++i) add(t + "4." + std::to_string(i), "integer", "1500");
    for (int i = 1; i <= rows; ++i) add(t + "5." + std::to_string(i), "gauge", std::to_string(1000000000u * static_cast<unsigned>(i)));
    for (int i = 1; i <= rows; ++i) add(t + "6." + std::to_string(i), "octet", "00 1A 2B 3C 4D 0" + std::to_string(i));
    for (int i = 1; i <= rows; ++i) add(t + "7." + std::to_string(i), "integer", "1");
    for (int i = 1; i <= rows; ++i) add(t + "8." + std::to_string(i), "integer", i == 3 ? "2" : "1");
    for (int i = 1; i <= rows; ++i) add(t + "9." + std::to_string(i), "timeticks", std::to_string(100 * i));
    for (int i = 1; i <= rows; ++i) add(t + "10." + std::to_string(i), "counter", std::to_string(4294967295u - static_cast<unsigned>(i)));
    for (int i = 1; i <= rows; ++i) add(t + "16." + std::to_string(i), "counter", std::to_string(1000 * i));
}

void build_qor(const std::string& tag)
{
    const std::string q = ".1.3.6.1.4.1.39871.1.";
    add(q + "1.0", "octet", scrambled_octets("QOR agent " + tag));
    for (int i = 1; i <= 3; ++i) add(q + "2.1.1." + std::to_string(i), "integer", scrambled_int(i));
    for (int i = 1; i <= 3; ++i) add(q + "2.1.2." + std::to_string(i), "octet", scrambled_octets("disk" + std::to_string(i) + " " + tag));
    for (int i = 1; i <= 3; ++i) add(q + "2.1.3." + std::to_string(i), "counter", scrambled_uint(4000000000u + static_cast<unsigned>(i)));
    for (int i = 1; i <= 3; ++i) add(q + "2.1.4." + std::to_string(i), "gauge", scrambled_uint(1000u * static_cast<unsigned>(i)));
    for (int i = 1; i <= 3; ++i) add(q + "2.1.5." + std::to_string(i), "integer", scrambled_int(-7 * i));
    add(q + "3.0", "objectid", ".1.3.6.1.4.1.39871.9.1");
    add(q + "4.0", "ipaddress", "10.1.2.3");
    add(q + "5.0", "timeticks", scrambled_uint(12345));
    // Bytes that are not printable, the NUL and the high ones among them.
    std::string binary;
    for (int i = 0; i < 300; ++i)
        binary += static_cast<char>(i * 7);
    add(q + "6.0", "octet", scrambled_octets(binary));
    add(".1.3.6.1.4.1.39871.3.1", "integer", scrambled_int(31));
    add(".1.3.6.1.4.1.39871.3.2", "integer", scrambled_int(32));
    add(q + "7.0", "octet", scrambled_octets(std::string("\x07\xD6\x05\x11\x0E\x1E\x00", 7)));
}

// One row of a hardware table: column c of `values` (from 1) is a string
// unless listed in `numbers`.
void add_hardware_row(int table, const std::vector<std::string>& values, const std::vector<int>& numbers)
{
    const std::string entry = ".1.3.6.1.4.1.39871.1.3.1." + std::to_string(table) + ".1.";
    for (size_t c = 0; c < values.size(); ++c) {
        int column = static_cast<int>(c) + 1;
        std::string oid = entry + std::to_string(column) + ".1";
        if (std::find(numbers.begin(), numbers.end(), column) != numbers.end())
            add(oid, "gauge", scrambled_uint(static_cast<uint32_t>(std::stoul(values[c]))));
        else
            add(oid, "octet", scrambled_octets(values[c]));
    }
}

void build_hardware(const std::string& tag)
{
    add_hardware_row(1, {"1", "Tarvane Labs", "23", "1.0", "2", "3", "3", "4", "SN-" + tag, "2", "AT-" + tag, "SKU-7"},
                     {1, 3, 5, 6, 7, 8, 10});
    add_hardware_row(2, {"1", "Tarvane BIOS", "2.4.1", "2025-03-14", "16777216", "3.4", "2.4", "1.12"}, {1, 5});
    add_hardware_row(3, {"1", "Tarvane Labs", "Board X1", "A02", "BB-" + tag, "BA-" + tag, "Center", "10"},
                     {1, 8});
    add_hardware_row(5, {"1", "Tarvane Labs", "Server 3000", "v2", "SN-" + tag, "4C4C4544-0042-3010-8030-B2C04F",
                         "Servers", "16777216", "953869", "2", "Xeon Test CPU", "2400000000"},
                     {1, 8, 9, 10, 12});
    // Two slots: a table with several rows.
    const std::string slot = ".1.3.6.1.4.1.39871.1.3.1.4.1.";
    for (int i = 1; i <= 2; ++i) {
        std::string index = "." + std::to_string(i);
        add(slot + "1" + index, "gauge", scrambled_uint(static_cast<uint32_t>(i)));
        add(slot + "2" + index, "octet", scrambled_octets("PCIE" + std::to_string(i)));
        add(slot + "3" + index, "gauge", scrambled_uint(i == 1 ? 170u : 168u));
        add(slot + "4" + index, "gauge", scrambled_uint(64));
        add(slot + "5" + index, "gauge", scrambled_uint(i == 1 ? 4u : 3u));
        add(slot + "6" + index, "gauge", scrambled_uint(4));
        add(slot + "7" + index, "gauge", scrambled_uint(static_cast<uint32_t>(i)));
    }
}

// prtMarkerSuppliesTable of one marker: black toner and a waste container.
void build_printer(const std::string& tag)
{
    const std::string t = ".1.3.6.1.2.1.43.11.1.1.";
    const char* descr[] = {"Black Toner", "Waste Toner Box"};
    const int type[] = {3, 4}, klass[] = {3, 4}, max[] = {10000, 100}, level[] = {7300, 12};
    for (int i = 0; i < 2; ++i) {
        std::string index = ".1." + std::to_string(i + 1);
        add(t + "2" + index, "integer", "1");
        add(t + "3" + index, "integer", i == 0 ? "1" : "0");
        add(t + "4" + index, "integer", std::to_string(klass[i]));
        add(t + "5" + index, "integer", std::to_string(type[i]));
        add(t + "6" + index, "string", std::string(descr[i]) + " " + tag);
        add(t + "7" + index, "integer", i == 0 ? "7" : "19");
        add(t + "8" + index, "integer", std::to_string(max[i]));
        add(t + "9" + index, "integer", std::to_string(level[i]));
    }
}

// Memory and file systems of several allocation units, one of them larger
// than 2^32 allocation units' bytes, one full, one never used.
void build_storage(const std::string& tag)
{
    add(".1.3.6.1.2.1.25.2.2.0", "integer", "16777216");  // KB
    const std::string t = ".1.3.6.1.2.1.25.2.3.1.";
    const struct {
        int index, type;
        std::string descr;
        int unit, size, used;
    } rows[] = {
        {1, 2, "Physical memory", 1024, 16777216, 4194304},
        {3, 3, "Virtual memory", 1024, 20971520, 5242880},
        {10, 3, "Swap space", 1024, 4194304, 0},
        {31, 4, "/", 4096, 61046784, 30523392},
        {32, 4, "/srv/" + tag, 65536, 2000000000, 1500000001},
        {40, 7, "/media/cdrom", 2048, 327680, 327680},
    };
    for (const auto& r : rows) {
        const std::string index = "." + std::to_string(r.index);
        add(t + "1" + index, "integer", std::to_string(r.index));
        add(t + "2" + index, "objectid", ".1.3.6.1.2.1.25.2.1." + std::to_string(r.type));
        add(t + "3" + index, "string", r.descr);
        add(t + "4" + index, "integer", std::to_string(r.unit));
        add(t + "5" + index, "integer", std::to_string(r.size));
        add(t + "6" + index, "integer", std::to_string(r.used));
        add(t + "7" + index, "counter", "0");
    }
}

void answer(const Entry* e, const std::string& asked, int& not_ready, const std::vector<uint32_t>& not_ready_root)
{
    if (!e) {
        std::cout << "NONE\n" << std::flush;
        return;
    }
    if (not_ready != 0 && oid_in_subtree(not_ready_root, e->arcs)) {
        if (not_ready > 0)
            --not_ready;
        std::cout << e->oid << "\ninteger\n" << scrambled_int(-39871) << "\n" << std::flush;
        return;
    }
    (void)asked;
    std::cout << e->oid << "\n" << e->type << "\n" << e->value << "\n" << std::flush;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    const char* tag_env = std::getenv("TRV_AGENT_TAG");
    std::string tag = tag_env ? tag_env : "agent";
    int not_ready = 0;
    std::vector<uint32_t> not_ready_root;
    const char* loop_env = std::getenv("TRV_QOR_LOOP");
    bool loops = loop_env && std::strcmp(loop_env, "1") == 0;
    if (std::strcmp(argv[1], "qor") == 0) {
        const char* n = std::getenv("TRV_QOR_NOT_READY");
        not_ready = n ? std::atoi(n) : 0;
        const char* under = std::getenv("TRV_QOR_NOT_READY_UNDER");
        if (under && *under)
            parse_oid_arcs(under, not_ready_root);
        build_qor(tag);
        const char* hardware = std::getenv("TRV_QOR_HARDWARE");
        if (hardware && std::strcmp(hardware, "1") == 0)
            build_hardware(tag);
    } else if (std::strcmp(argv[1], "printer") == 0) {
        build_printer(tag);
    } else if (std::strcmp(argv[1], "storage") == 0) {
        build_storage(tag);
    } else {
        build_ifaces(tag);
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return oid_less(a.arcs, b.arcs); });
    std::string line;
    while (std::getline(std::cin, line)) {
        if (line == "PING") {
            std::cout << "PONG\n" << std::flush;
        } else if (line == "get" || line == "getnext") {
            std::string oid;
            std::getline(std::cin, oid);
            std::vector<uint32_t> arcs;
            parse_oid_arcs(oid, arcs);
            const Entry* found = nullptr;
            // A misbehaving corner: after .3.2 this agent answers .3.1 again.
            std::string wanted =
                loops && line == "getnext" && oid == ".1.3.6.1.4.1.39871.3.2" ? ".1.3.6.1.4.1.39871.3.1" : "";
            for (const Entry& e : entries) {
                bool match = !wanted.empty() ? e.oid == wanted
                             : line == "get" ? e.arcs == arcs
                                             : oid_less(arcs, e.arcs);
                if (match) {
                    found = &e;
                    break;
                }
            }
            answer(found, oid, not_ready, not_ready_root);
        } else if (line == "set") {
            std::string skip;
            std::getline(std::cin, skip);
            std::getline(std::cin, skip);
            std::cout << "not-writable\n" << std::flush;
        }
    }
    return 0;
}

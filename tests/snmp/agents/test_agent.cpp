// A pass_persist handler for snmpd that plays two test agents:
//   test_agent ifaces   the interfaces group (.1.3.6.1.2.1.2) with fixed rows
//   test_agent qor      the QOR enterprise subtree, values scrambled as the
//                       real agent sends them
// The environment (passed on by snmpd) makes each simulated host distinct:
//   TRV_AGENT_TAG       text that appears in names and descriptions
//   TRV_QOR_NOT_READY   the first N requests are answered "not ready"
//   TRV_QOR_LOOP        1: the walk of .1.3.6.1.4.1.39871.3 goes back after .3.2
//   TRV_QOR_FIRST_DELAY_MS  the first request is answered this much later
//                       (snmpd waits, so requests behind it wait as well)
#include "snmp_oid.h"
#include "snmp_scramble.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <thread>
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

void answer(const Entry* e, const std::string& asked, int& not_ready)
{
    if (!e) {
        std::cout << "NONE\n" << std::flush;
        return;
    }
    if (not_ready > 0) {
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
    int first_delay_ms = 0;
    const char* loop_env = std::getenv("TRV_QOR_LOOP");
    bool loops = loop_env && std::strcmp(loop_env, "1") == 0;
    if (std::strcmp(argv[1], "qor") == 0) {
        const char* n = std::getenv("TRV_QOR_NOT_READY");
        not_ready = n ? std::atoi(n) : 0;
        const char* d = std::getenv("TRV_QOR_FIRST_DELAY_MS");
        first_delay_ms = d ? std::atoi(d) : 0;
        build_qor(tag);
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
            if (first_delay_ms > 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(first_delay_ms));
                first_delay_ms = 0;
            }
            answer(found, oid, not_ready);
        } else if (line == "set") {
            std::string skip;
            std::getline(std::cin, skip);
            std::getline(std::cin, skip);
            std::cout << "not-writable\n" << std::flush;
        }
    }
    return 0;
}

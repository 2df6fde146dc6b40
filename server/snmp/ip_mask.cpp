#include "ip_mask.h"

#include "address_range.h"
#include "host_name.h"
#include "qr_log.h"

#include <cerrno>
#include <cstdlib>

namespace {

// The C library's decimal reading: an empty or non-numeric text is 0.
long octet_value(const std::string& text)
{
    errno = 0;
    long v = std::strtol(text.c_str(), nullptr, 10);
    if (errno == ERANGE)
        return 256;
    return v;
}

struct OctetRange {
    long first = 0;
    long last = 0;
};

// "a.b.c.d - e.f.g.h": every address from the first to the last.
bool expand_address_range(const std::string& mask, std::vector<uint32_t>& list)
{
    uint32_t first = 0;
    uint32_t last = 0;
    if (!ParseAddressRange(mask, first, last)) {
        TRV_LOG(qr_Error, "Address range " << mask
                                           << " refused: it is neither four octets nor two addresses joined by '-'");
        return false;
    }
    if (last < first)
        return true;
    const uint64_t total = static_cast<uint64_t>(last) - first + 1;
    if (total > MaxAddressesPerMask) {
        TRV_LOG(qr_Error, "Address range " << mask << " refused: it gives " << total << " addresses, more than "
                                            << MaxAddressesPerMask);
        return false;
    }
    list.reserve(list.size() + total);
    for (uint64_t a = first; a <= last; ++a)
        list.push_back(static_cast<uint32_t>(a));
    return true;
}

}  // namespace

bool expand_ip_mask(const std::string& mask, std::vector<uint32_t>& list)
{
    if (NamesTwoAddresses(mask))
        return expand_address_range(mask, list);
    std::string text;
    for (char c : mask)
        if (c != ' ' && c != '\t' && c != '[' && c != ']')
            text.push_back(c);

    std::string octets[4];
    size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        if (start > text.size())
            break;
        size_t dot = i < 3 ? text.find('.', start) : std::string::npos;
        octets[i] = text.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        start = dot == std::string::npos ? text.size() + 1 : dot + 1;
    }

    OctetRange ranges[4];
    uint64_t total = 1;
    for (int i = 0; i < 4; ++i) {
        std::string& o = octets[i];
        if (o.find('*') != std::string::npos) {
            if (i == 0) {
                TRV_LOG(qr_Error, "Address mask " << mask << " refused: the first octet cannot be '*'");
                return false;
            }
            o = i == 3 ? "1-254" : "0-255";
        }
        size_t dash = o.find('-');
        ranges[i].first = octet_value(o.substr(0, dash));
        ranges[i].last = ranges[i].first;
        if (dash != std::string::npos && dash + 1 < o.size())
            ranges[i].last = octet_value(o.substr(dash + 1));
        if (ranges[i].first > 255 || ranges[i].last > 255 || ranges[i].first < 0 || ranges[i].last < 0) {
            TRV_LOG(qr_Error, "Address mask " << mask << " refused: octet " << i + 1 << " ('"
                                              << octets[i] << "') is outside 0-255");
            return false;
        }
        uint64_t size = ranges[i].last < ranges[i].first ? 0 : ranges[i].last - ranges[i].first + 1;
        total *= size;
    }
    if (total > MaxAddressesPerMask) {
        TRV_LOG(qr_Error, "Address mask " << mask << " refused: it gives " << total
                                          << " addresses, more than " << MaxAddressesPerMask);
        return false;
    }

    list.reserve(list.size() + total);
    for (long a = ranges[0].first; a <= ranges[0].last; ++a)
        for (long b = ranges[1].first; b <= ranges[1].last; ++b)
            for (long c = ranges[2].first; c <= ranges[2].last; ++c)
                for (long d = ranges[3].first; d <= ranges[3].last; ++d)
                    list.push_back(static_cast<uint32_t>(a) << 24 | static_cast<uint32_t>(b) << 16 |
                                   static_cast<uint32_t>(c) << 8 | static_cast<uint32_t>(d));
    return true;
}

std::string ip_to_text(uint32_t address)
{
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", address >> 24, (address >> 16) & 255,
                  (address >> 8) & 255, address & 255);
    return text;
}

bool parse_ipv4(const std::string& text, uint32_t& address)
{
    std::vector<std::string> parts = split_string(text, '.');
    if (parts.size() != 4)
        return false;
    uint32_t value = 0;
    for (const std::string& part : parts) {
        if (part.empty() || part.size() > 3 || part.find_first_not_of("0123456789") != std::string::npos)
            return false;
        long v = std::strtol(part.c_str(), nullptr, 10);
        if (v > 255)
            return false;
        value = value << 8 | static_cast<uint32_t>(v);
    }
    address = value;
    return true;
}

std::string lookup_host_name(const std::string& address)
{
    uint32_t value = 0;
    if (!parse_ipv4(address, value))
        return std::string();
    return LookupHostName(value);
}

std::vector<std::string> split_string(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t at = text.find(separator, start);
        if (at == std::string::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, at - start));
        start = at + 1;
    }
}

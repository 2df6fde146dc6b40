#include "address_range.h"

#include "qr_strings.h"

#include <algorithm>

namespace {

std::string Compact(const std::string& text)
{
    std::string out;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '[' && c != ']')
            out.push_back(c);
    return out;
}

// Exactly four decimal parts of one to three digits, each at most 255.
bool ParseAddress(const std::string& text, uint32_t& address)
{
    uint32_t value = 0;
    size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        const size_t dot = i < 3 ? text.find('.', start) : text.size();
        if (dot == std::string::npos)
            return false;
        const std::string part = text.substr(start, dot - start);
        if (part.empty() || part.size() > 3 || !IsNumber(part))
            return false;
        const int octet = std::stoi(part);
        if (octet > 255)
            return false;
        value = value << 8 | static_cast<uint32_t>(octet);
        start = dot + 1;
    }
    address = value;
    return true;
}

}  // namespace

bool NamesTwoAddresses(const std::string& text)
{
    const std::string compact = Compact(text);
    return std::count(compact.begin(), compact.end(), '.') > 3;
}

bool ParseAddressRange(const std::string& text, uint32_t& first, uint32_t& last)
{
    const std::string compact = Compact(text);
    const size_t dash = compact.find('-');
    if (dash == std::string::npos || compact.find('-', dash + 1) != std::string::npos)
        return false;
    return ParseAddress(compact.substr(0, dash), first) && ParseAddress(compact.substr(dash + 1), last);
}

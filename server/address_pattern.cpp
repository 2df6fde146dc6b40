#include "address_pattern.h"

#include "address_range.h"

#include "qr_strings.h"

namespace {

// One to three decimal digits, at most 255.
bool ParseValue(const std::string& text, int& value)
{
    if (text.empty() || text.size() > 3 || !IsNumber(text))
        return false;
    value = std::stoi(text);
    return value <= 255;
}

// "*", "n", "[a-b]" or "a-b" with a <= b.
bool ParseOctet(const std::string& text, int& low, int& high)
{
    if (text == "*") {
        low = 0;
        high = 255;
        return true;
    }
    const bool bracketed = text.size() >= 2 && text.front() == '[' && text.back() == ']';
    if (bracketed || text.find('-') != std::string::npos) {
        const std::string inner = bracketed ? text.substr(1, text.size() - 2) : text;
        const size_t dash = inner.find('-');
        return dash != std::string::npos && ParseValue(inner.substr(0, dash), low) &&
               ParseValue(inner.substr(dash + 1), high) && low <= high;
    }
    if (!ParseValue(text, low))
        return false;
    high = low;
    return true;
}

}  // namespace

AddressPattern::AddressPattern(const std::string& text)
{
    std::string rest = text;
    RemoveBlanks(rest);
    if (rest.empty())
        return;
    if (NamesTwoAddresses(rest)) {
        // "a.b.c.d - e.f.g.h"; anything else with that many dots is malformed.
        by_range_ = usable_ = ParseAddressRange(rest, first_, last_);
        return;
    }
    std::vector<std::string> parts;
    for (size_t start = 0;;) {
        const size_t dot = rest.find('.', start);
        parts.push_back(rest.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
        if (dot == std::string::npos)
            break;
        start = dot + 1;
    }
    if (parts.size() == 4) {
        by_octet_ = true;
        for (size_t i = 0; i < 4 && by_octet_; ++i)
            by_octet_ = ParseOctet(parts[i], octets_[i].low, octets_[i].high);
        if (by_octet_) {
            usable_ = true;
            return;
        }
    }
    // Ranges exist only in the console's form; half of one would otherwise
    // be looked for as text and find nothing or the wrong hosts.
    if (rest.find_first_of("[]") != std::string::npos)
        return;
    while (!rest.empty()) {
        std::string piece = NextToken(rest, "*", false);
        if (!piece.empty())
            pieces_.push_back(piece);
    }
    usable_ = true;
}

bool AddressPattern::matches(const std::string& address) const
{
    if (!usable_)
        return false;
    if (by_range_) {
        uint32_t value = 0;
        return ParseAddressRange(address + "-" + address, value, value) && value >= first_ && value <= last_;
    }
    if (!by_octet_) {
        for (const std::string& piece : pieces_)
            if (address.find(piece) == std::string::npos)
                return false;
        return true;
    }
    size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        const size_t dot = i < 3 ? address.find('.', start) : address.size();
        if (dot == std::string::npos)
            return false;
        int value = 0;
        if (!ParseValue(address.substr(start, dot - start), value) || value < octets_[i].low ||
            value > octets_[i].high)
            return false;
        start = dot + 1;
    }
    return true;
}

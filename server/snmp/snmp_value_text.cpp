#include "snmp_value_text.h"

#include "qr_strings.h"

#include <cstdio>
#include <vector>

namespace {

const char* const HexMarker = "Hex-STRING:";

int hex_digit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 0;
}

bool is_hex_digit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

void replace_all(std::string& text, const std::string& what, const std::string& with)
{
    size_t pos = 0;
    while ((pos = text.find(what, pos)) != std::string::npos) {
        text.replace(pos, what.size(), with);
        pos += with.size();
    }
}

// '~' (126) is printable too: package versions such as 1.2~deb12u1 must not
// turn into hex digits.
bool printable_byte(unsigned char b)
{
    return (b >= 32 && b <= 126) || b == 168 || b == 169 || b == 174 || b == 184 || b >= 192;
}

}  // namespace

unsigned char hex_pair_to_byte(std::string& text)
{
    int high = text.size() > 0 ? hex_digit(text[0]) : 0;
    int low = text.size() > 1 ? hex_digit(text[1]) : 0;
    text.erase(0, text.size() < 2 ? text.size() : 2);
    return static_cast<unsigned char>(high * 16 + low);
}

std::string hex_to_text(const std::string& text)
{
    std::string digits = text;
    RemoveBlanks(digits);
    std::string out;
    while (!digits.empty()) {
        unsigned char b = hex_pair_to_byte(digits);
        if (b == 0 || b == 10 || b == 13)
            continue;
        if (!printable_byte(b))
            return text;
        out += static_cast<char>(b);
    }
    return out;
}

bool is_printable_hex(const std::string& text)
{
    std::string t = text;
    Trim(t);
    UpperOutsideQuotes(t);
    if (t.size() < 5)
        return false;
    size_t start = 0;
    while (start <= t.size()) {
        size_t end = t.find(' ', start);
        if (end == std::string::npos)
            end = t.size();
        std::string piece = t.substr(start, end - start);
        start = end + 1;
        if (piece.empty())
            continue;
        if (piece.size() != 2 || !is_hex_digit(piece[0]) || !is_hex_digit(piece[1]))
            return false;
        int b = hex_digit(piece[0]) * 16 + hex_digit(piece[1]);
        if (b != 0 && b < 32)
            return false;
    }
    return true;
}

std::string printable_hex_to_text(const std::string& text)
{
    if (!is_printable_hex(text))
        return text;
    std::string upper = text;
    UpperOutsideQuotes(upper);
    return hex_to_text(upper);
}

std::string expand_hex_string(const std::string& text)
{
    size_t pos = text.find(HexMarker);
    if (pos == std::string::npos)
        return text;
    std::string before = text.substr(0, pos);
    RemoveBlanks(before);
    std::string octets = text.substr(pos + std::string(HexMarker).size());
    RemoveBlanks(octets);
    return before + " " + hex_to_text(octets);
}

std::string hex_to_date(const std::string& text)
{
    std::string digits = text;
    RemoveBlanks(digits);
    std::vector<unsigned> bytes;
    while (!digits.empty())
        bytes.push_back(hex_pair_to_byte(digits));
    // A DateAndTime is 8 octets (tenths of a second added) or 11 (and the
    // offset from UTC); its first 7 are the same fields as the 7-octet form.
    if (bytes.size() != 7 && bytes.size() != 8 && bytes.size() != 11)
        return std::string();
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%u-%02u-%02u, %02u:%02u:%02u", bytes[0] * 256 + bytes[1],
                  bytes[2], bytes[3], bytes[4], bytes[5], bytes[6]);
    return buffer;
}

std::string hex_to_bit_list(const std::string& text)
{
    // Walk files write octets with blanks between them; a blank is no digit.
    std::string compact = text;
    RemoveBlanks(compact);
    size_t first = compact.find_first_not_of('0');
    std::string digits = first == std::string::npos ? std::string() : compact.substr(first);
    if (digits.find(',') != std::string::npos)
        return digits;
    std::vector<size_t> bits;
    size_t position = 0;
    for (size_t i = digits.size(); i-- > 0; position += 4) {
        int d = hex_digit(digits[i]);
        for (int b = 0; b < 4; ++b)
            if (d & (1 << b))
                bits.push_back(position + static_cast<size_t>(b));
    }
    std::string out;
    for (size_t b : bits) {
        if (!out.empty())
            out += ',';
        out += std::to_string(b);
    }
    return out;
}

std::string drop_control_chars(const std::string& text)
{
    std::string out;
    for (unsigned char c : text)
        if (!(c < 32 || (c >= 128 && c <= 191)))
            out += static_cast<char>(c);
    return out;
}

std::string normalise_value_text(const std::string& input, bool date)
{
    std::string text = input;
    replace_all(text, "\r\n", " ");
    replace_all(text, "\n", " ");
    replace_all(text, "\r", " ");
    RemoveChar(text, '"');
    size_t pos = text.find(HexMarker);
    if (pos == std::string::npos) {
        text = printable_hex_to_text(text);
    } else {
        text.erase(0, pos + std::string(HexMarker).size());
        Trim(text);
        text = date ? hex_to_date(text) : hex_to_text(text);
    }
    size_t eq = text.find('=');
    if (eq != std::string::npos)
        text.erase(0, eq + 1);
    Trim(text);
    text = drop_control_chars(text);
    if (text == "ccitt.0" || text == "39871")
        text.clear();
    if (text.size() > MaxValueText)
        text.resize(MaxValueText);
    return text;
}

std::string finish_value_text(const std::string& raw, bool lines, bool date)
{
    std::string text = raw.size() > MaxValueText ? raw.substr(0, MaxValueText) : raw;
    if (!lines)
        return normalise_value_text(text, date);
    text = expand_hex_string(text);
    if (text.compare(0, 4, "iso.") == 0)
        text.replace(0, 4, ".1.");
    return text;
}

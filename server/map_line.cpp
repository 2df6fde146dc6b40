#include "map_line.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>

int agent_type_of_category(int category, int hard, int soft, int mon)
{
    switch (category) {
    case 0: return hard;
    case 1: return soft;
    case 2: return mon;
    default: return -1;
    }
}

namespace {

// Leading decimal number as atol reads it, clamped to 32 bits.
int leading_number(const std::string& text)
{
    errno = 0;
    long v = std::strtol(text.c_str(), nullptr, 10);
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

}  // namespace

void parse_formula(FormulaList& formulas, int key, const std::string& text)
{
    std::string t;
    for (char c : text)
        if (c != ' ')
            t += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));

    FormulaCell cell;
    size_t start = 0;
    while (start <= t.size()) {
        size_t at = t.find("OR", start);
        std::string part = t.substr(start, at == std::string::npos ? std::string::npos : at - start);
        if (!part.empty()) {
            FormulaItem item;
            size_t b = part.find('B');
            if (b != std::string::npos) {
                part.erase(b, 1);
                item.mark = 1;
            } else {
                item.mark = 0;
            }
            item.value = leading_number(part);
            cell.Add(item);
        }
        if (at == std::string::npos)
            break;
        start = at + 2;
    }
    formulas[key] = cell;
}

std::string formula_text(const FormulaList& formulas)
{
    std::string out;
    for (const auto& f : formulas)
        for (const FormulaItem& item : f.value) {
            if (item.mark)
                out += 'B';
            out += std::to_string(item.value);
        }
    return out;
}

void split_comma_list(const std::string& text, std::vector<std::string>& parts)
{
    size_t start = 0;
    while (start < text.size()) {
        size_t comma = text.find(',', start);
        if (comma == std::string::npos) {
            parts.push_back(text.substr(start));
            return;
        }
        parts.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
}

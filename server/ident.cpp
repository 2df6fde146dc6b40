#include "ident.h"

#include <cctype>

namespace {

const char* const enterprises = "1.3.6.1.4.1.";
const int max_prefix_steps = 50;

std::string trim_blanks(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return std::string();
    size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

}  // namespace

bool build_oid_prefixes(const std::string& oid, std::string& enterprise,
                        std::vector<OidPrefix>& prefixes)
{
    prefixes.push_back(OidPrefix{oid, false});
    size_t at = oid.find(enterprises);
    if (at == std::string::npos)
        return false;
    size_t ent_start = at + std::char_traits<char>::length(enterprises);
    size_t ent_end = oid.find('.', ent_start);
    if (ent_end == std::string::npos)
        ent_end = oid.size();
    enterprise = oid.substr(ent_start, ent_end - ent_start);

    // Never go above the enterprise's own arc: shorter prefixes such as
    // "1.3.6.1.4.1." would match every device of every vendor.
    std::string w = oid;
    for (int step = 0; step < max_prefix_steps && w.size() > ent_end; ++step) {
        size_t dot = w.rfind('.');
        if (dot == std::string::npos || dot < ent_end)
            break;
        w.erase(dot);
        prefixes.push_back(OidPrefix{w + ".", true});
        prefixes.push_back(OidPrefix{w, false});
    }
    return true;
}

EnumSpec parse_enum_spec(const std::string& cell)
{
    std::vector<std::string> fields;
    std::string rest = cell;
    // Up to four fields from the right; what is left is the table name.
    while (fields.size() < 4) {
        size_t comma = rest.rfind(',');
        if (comma == std::string::npos)
            break;
        fields.insert(fields.begin(), trim_blanks(rest.substr(comma + 1)));
        rest.erase(comma);
    }
    EnumSpec spec;
    spec.table = trim_blanks(rest);
    // fields now hold, left to right, the last fields.size() of extra,key,name,kind.
    std::string* slots[4] = {&spec.extra, &spec.key, &spec.name, &spec.kind};
    size_t first = 4 - fields.size();
    for (size_t i = 0; i < fields.size(); ++i)
        if (!fields[i].empty() || slots[first + i] == &spec.extra)
            *slots[first + i] = fields[i];
    return spec;
}

bool all_digits(const std::string& text)
{
    if (text.empty())
        return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

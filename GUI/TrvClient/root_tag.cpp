#include "root_tag.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace trvclient {

namespace {

bool is_space(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool is_name_char(char c)
{
    return !is_space(c) && c != '/' && c != '>' && c != '=' && c != '<' && c != '"' && c != '\'' && c != '\0';
}

// Skips white space, the XML declaration, processing instructions and
// comments; returns the offset of the root's '<', or npos.
std::size_t find_root(const std::string& text)
{
    std::size_t pos = 0;
    for (;;) {
        while (pos < text.size() && is_space(text[pos]))
            ++pos;
        if (pos >= text.size() || text[pos] != '<')
            return std::string::npos;
        if (text.compare(pos, 2, "<?") == 0) {
            pos = text.find("?>", pos + 2);
            if (pos == std::string::npos)
                return pos;
            pos += 2;
        } else if (text.compare(pos, 4, "<!--") == 0) {
            pos = text.find("-->", pos + 4);
            if (pos == std::string::npos)
                return pos;
            pos += 3;
        } else {
            return pos;
        }
    }
}

}  // namespace

const RootTag::Attribute* RootTag::Find(const std::string& attribute) const
{
    for (const Attribute& a : attributes)
        if (a.name == attribute)
            return &a;
    return nullptr;
}

std::optional<int> RootTag::Synch() const
{
    const Attribute* a = Find("synch");
    if (!a || a->value.empty())
        return std::nullopt;
    const char* begin = a->value.c_str();
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(begin, &end, 10);
    if (*end != '\0' || errno != 0 || value < -2147483647L - 1 || value > 2147483647L)
        return std::nullopt;
    return static_cast<int>(value);
}

bool ReadRootTag(const std::string& text, RootTag& tag)
{
    tag = RootTag();
    std::size_t pos = find_root(text);
    if (pos == std::string::npos)
        return false;
    ++pos;
    const std::size_t name_begin = pos;
    while (pos < text.size() && is_name_char(text[pos]))
        ++pos;
    if (pos == name_begin)
        return false;
    tag.name = text.substr(name_begin, pos - name_begin);
    tag.name_end = pos;
    for (;;) {
        while (pos < text.size() && is_space(text[pos]))
            ++pos;
        if (pos >= text.size())
            return false;
        if (text[pos] == '>' || text.compare(pos, 2, "/>") == 0)
            return true;
        const std::size_t attr_begin = pos;
        while (pos < text.size() && is_name_char(text[pos]))
            ++pos;
        if (pos == attr_begin)
            return false;
        RootTag::Attribute a;
        a.name = text.substr(attr_begin, pos - attr_begin);
        while (pos < text.size() && is_space(text[pos]))
            ++pos;
        if (pos >= text.size() || text[pos] != '=')
            return false;
        ++pos;
        while (pos < text.size() && is_space(text[pos]))
            ++pos;
        if (pos >= text.size() || (text[pos] != '"' && text[pos] != '\''))
            return false;
        const char quote = text[pos++];
        const std::size_t close = text.find(quote, pos);
        if (close == std::string::npos)
            return false;
        a.value_begin = pos;
        a.value_end = close;
        a.value = text.substr(pos, close - pos);
        tag.attributes.push_back(std::move(a));
        pos = close + 1;
    }
}

std::string StampSynch(const std::string& text, const RootTag& tag, int synch)
{
    const std::string value = std::to_string(synch);
    std::string out = text;
    if (const RootTag::Attribute* a = tag.Find("synch"))
        out.replace(a->value_begin, a->value_end - a->value_begin, value);
    else
        out.insert(tag.name_end, " synch=\"" + value + "\"");
    return out;
}

}  // namespace trvclient

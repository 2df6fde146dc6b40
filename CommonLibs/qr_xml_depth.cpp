#include "qr_xml_depth.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

// The parser's idea of a letter: ASCII letters, and every byte from 127 up.
bool NameStart(unsigned char c)
{
    return c >= 127 || std::isalpha(c) || c == '_';
}

bool NameChar(unsigned char c)
{
    return c >= 127 || std::isalnum(c) || c == '_' || c == '-' || c == '.' || c == ':';
}

bool Blank(unsigned char c)
{
    return std::isspace(c) != 0;
}

// Bytes the parser takes for one character of a text or an attribute value
// when it reads UTF-8.
size_t Utf8Length(unsigned char c)
{
    if (c >= 0xc2 && c <= 0xdf)
        return 2;
    if (c >= 0xe0 && c <= 0xef)
        return 3;
    if (c >= 0xf0 && c <= 0xf4)
        return 4;
    return 1;
}

class DepthWalk {
public:
    DepthWalk(const unsigned char* s, size_t n, int limit) : s_(s), n_(n), limit_(limit) {}

    // The deepest nesting from position i on, where the parser stands between
    // top-level nodes. `may_switch`: no declaration has fixed the reading yet.
    int Walk(size_t i, bool utf8, bool may_switch) const
    {
        int depth = 0;    // elements whose content the walk is in
        int deepest = 0;  // the most element parses ever open at once
        for (;;) {
            i = SkipBlanks(i, utf8);
            if (i >= n_)
                return deepest;
            if (s_[i] != '<') {
                if (depth == 0)
                    return deepest;  // the parser stops at text outside elements
                while (i < n_ && s_[i] != '<') {
                    if (Blank(s_[i])) {
                        ++i;
                        continue;
                    }
                    const int character = NextChar(i, utf8);
                    if (character != 0)
                        return character < 0 ? too_deep() : deepest;
                }
                continue;
            }
            if (depth > 0 && At(i + 1) == '/') {
                // An end tag: its name, blanks, '>'. A name that does not
                // match ends the parse, so whatever the walk does after it
                // does not matter.
                i += 2;
                while (i < n_ && NameChar(s_[i]))
                    ++i;
                i = SkipBlanks(i, utf8);
                if (At(i) != '>')
                    return deepest;
                ++i;
                --depth;
                continue;
            }
            if (StartsNoCase(i, "<?xml")) {
                std::string encoding;
                const int declaration = Declaration(i, utf8, encoding);
                if (declaration != 0)
                    return declaration < 0 ? too_deep() : deepest;
                if (depth == 0 && may_switch) {
                    // The first declaration at the top level chooses UTF-8 or
                    // byte reading for the rest. An encoding written with
                    // entities is not decoded here: both readings are walked.
                    if (encoding.find('&') != std::string::npos)
                        return std::max({deepest, Walk(i, false, false), Walk(i, true, false)});
                    const bool to_utf8 = encoding.empty() || StartsNoCase(encoding, "UTF-8") ||
                                         StartsNoCase(encoding, "UTF8");
                    return std::max(deepest, Walk(i, to_utf8, false));
                }
                continue;
            }
            if (Starts(i, "<!--")) {
                if (!SkipPast(i, i + 4, "-->"))
                    return deepest;
                continue;
            }
            if (Starts(i, "<![CDATA[")) {
                if (!SkipPast(i, i + 9, "]]>"))
                    return deepest;
                continue;
            }
            if (Starts(i, "<!") || !NameStart(At(i + 1))) {
                if (!SkipPast(i, i + 1, ">"))
                    return deepest;
                continue;
            }

            // An element: one more parse open until its tag ends.
            deepest = std::max(deepest, depth + 1);
            if (deepest > limit_)
                return too_deep();
            i = SkipBlanks(i + 1, utf8);
            if (!NameStart(At(i)))
                return deepest;
            while (i < n_ && NameChar(s_[i]))
                ++i;
            for (;;) {
                i = SkipBlanks(i, utf8);
                if (i >= n_)
                    return deepest;
                if (s_[i] == '/') {
                    if (At(i + 1) != '>')
                        return deepest;
                    i += 2;
                    break;
                }
                if (s_[i] == '>') {
                    ++i;
                    ++depth;
                    break;
                }
                const int attribute = Attribute(i, utf8);
                if (attribute != 0)
                    return attribute < 0 ? too_deep() : deepest;
                if (i >= n_)
                    return deepest;
            }
        }
    }

private:
    int too_deep() const { return limit_ + 1; }

    unsigned char At(size_t i) const { return i < n_ ? s_[i] : 0; }

    bool Starts(size_t i, const char* word) const
    {
        const size_t length = std::strlen(word);
        return i + length <= n_ && std::memcmp(s_ + i, word, length) == 0;
    }

    bool StartsNoCase(size_t i, const char* word) const
    {
        for (; *word != '\0'; ++word, ++i)
            if (i >= n_ || std::tolower(s_[i]) != std::tolower(static_cast<unsigned char>(*word)))
                return false;
        return true;
    }

    static bool StartsNoCase(const std::string& text, const char* word)
    {
        size_t i = 0;
        for (; *word != '\0'; ++word, ++i)
            if (i >= text.size() || std::tolower(static_cast<unsigned char>(text[i])) !=
                                        std::tolower(static_cast<unsigned char>(*word)))
                return false;
        return true;
    }

    // Blanks, and with UTF-8 also the byte order marks the parser skips with them.
    size_t SkipBlanks(size_t i, bool utf8) const
    {
        while (i < n_) {
            const bool mark = s_[i] == 0xef && ((At(i + 1) == 0xbb && At(i + 2) == 0xbf) ||
                                                (At(i + 1) == 0xbf && (At(i + 2) == 0xbe || At(i + 2) == 0xbf)));
            if (utf8 && mark) {
                i += 3;
            } else if (Blank(s_[i])) {
                ++i;
            } else {
                break;
            }
        }
        return i;
    }

    // One character of a text or a quoted value: 0 read, 1 the parser fails
    // here, -1 the character would run past the end of the text. A character
    // reference makes the parser jump to the first ';' after it, checking
    // only the digits after the last 'x' (or '#') before that ';': whatever
    // lies between, quotes and '<' too, is taken for the reference.
    int NextChar(size_t& i, bool utf8) const
    {
        if (s_[i] == '&' && At(i + 1) == '#' && At(i + 2) != 0) {
            const bool hex = s_[i + 2] == 'x';
            if (hex && At(i + 3) == 0)
                return 1;
            size_t semicolon = i + (hex ? 3 : 2);
            while (semicolon < n_ && s_[semicolon] != ';')
                ++semicolon;
            if (semicolon >= n_)
                return 1;
            for (size_t k = semicolon - 1; s_[k] != (hex ? 'x' : '#'); --k)
                if (!(hex ? HexDigit(s_[k]) : (s_[k] >= '0' && s_[k] <= '9')))
                    return 1;
            i = semicolon + 1;
            return 0;
        }
        const size_t length = utf8 ? Utf8Length(s_[i]) : 1;
        if (length > n_ - i)
            return -1;
        i += length;
        return 0;
    }

    static bool HexDigit(unsigned char c)
    {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    }

    // i just after `end`, which is searched from `from`; false without one.
    bool SkipPast(size_t& i, size_t from, const char* end) const
    {
        const size_t length = std::strlen(end);
        for (size_t k = from; k + length <= n_; ++k) {
            if (std::memcmp(s_ + k, end, length) == 0) {
                i = k + length;
                return true;
            }
        }
        return false;
    }

    // name = value, the value quoted or not: 0 read, 1 the parser fails here,
    // -1 the parser would read past the end of the text. `value` gets the
    // value's bytes as written.
    int Attribute(size_t& i, bool utf8, std::string* value = nullptr) const
    {
        i = SkipBlanks(i, utf8);
        if (!NameStart(At(i)))
            return 1;
        while (i < n_ && NameChar(s_[i]))
            ++i;
        i = SkipBlanks(i, utf8);
        if (At(i) != '=')
            return 1;
        i = SkipBlanks(i + 1, utf8);
        if (i >= n_)
            return 1;
        const unsigned char quote = s_[i];
        if (quote == '"' || quote == '\'') {
            const size_t begin = ++i;
            while (i < n_ && s_[i] != quote) {
                const int character = NextChar(i, utf8);
                if (character != 0)
                    return character;
            }
            if (i >= n_)
                return 1;
            if (value != nullptr)
                value->assign(reinterpret_cast<const char*>(s_ + begin), i - begin);
            ++i;
            return 0;
        }
        const size_t begin = i;
        while (i < n_ && !Blank(s_[i]) && s_[i] != '/' && s_[i] != '>') {
            if (s_[i] == '"' || s_[i] == '\'')
                return 1;
            ++i;
        }
        if (value != nullptr)
            value->assign(reinterpret_cast<const char*>(s_ + begin), i - begin);
        return 0;
    }

    // "<?xml" up to its '>', answered as Attribute answers; `encoding` gets
    // the value of the last attribute the parser takes for the encoding.
    int Declaration(size_t& i, bool utf8, std::string& encoding) const
    {
        i += 5;
        for (;;) {
            if (i >= n_)
                return 1;
            if (s_[i] == '>') {
                ++i;
                return 0;
            }
            i = SkipBlanks(i, utf8);
            if (i >= n_)
                return 1;
            if (StartsNoCase(i, "encoding")) {
                const int attribute = Attribute(i, utf8, &encoding);
                if (attribute != 0)
                    return attribute;
            } else if (StartsNoCase(i, "version") || StartsNoCase(i, "standalone")) {
                const int attribute = Attribute(i, utf8);
                if (attribute != 0)
                    return attribute;
            } else {
                while (i < n_ && s_[i] != '>' && !Blank(s_[i]))
                    ++i;
            }
        }
    }

    const unsigned char* s_;
    size_t n_;
    int limit_;
};

}  // namespace

int qr_xml_nesting_depth(const std::string& text, int limit)
{
    const size_t n = std::min(text.size(), text.find('\0'));
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text.data());
    // A byte order mark makes the parser read UTF-8 from the start, and no
    // declaration changes that any more.
    const bool bom = n >= 3 && s[0] == 0xef && s[1] == 0xbb && s[2] == 0xbf;
    return DepthWalk(s, n, limit).Walk(0, bom, !bom);
}

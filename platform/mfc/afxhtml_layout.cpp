// The HTML view's page model: parsing the simple markup, laying it out, drawing it.
#include "afxhtml_layout.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace afxhtml {
namespace {

constexpr int kPageMargin = 8;
constexpr int kListIndent = 28;
constexpr int kCellGap = 24;
constexpr COLORREF kLinkColor = RGB(0, 0, 238);

std::string Lower(std::string s)
{
    for (char& c : s) c = (char)std::tolower((unsigned char)c);
    return s;
}

// "#rrggbb", "rrggbb" or a few colour names; false when not understood.
bool ParseColor(const std::string& value, COLORREF& color)
{
    static const std::map<std::string, COLORREF> names = {
        {"black", RGB(0, 0, 0)},       {"white", RGB(255, 255, 255)}, {"red", RGB(255, 0, 0)},
        {"green", RGB(0, 128, 0)},     {"blue", RGB(0, 0, 255)},      {"navy", RGB(0, 0, 128)},
        {"gray", RGB(128, 128, 128)},  {"grey", RGB(128, 128, 128)},  {"silver", RGB(192, 192, 192)},
        {"maroon", RGB(128, 0, 0)},    {"yellow", RGB(255, 255, 0)},  {"teal", RGB(0, 128, 128)},
        {"purple", RGB(128, 0, 128)},  {"olive", RGB(128, 128, 0)},
    };
    std::string v = Lower(value);
    auto named = names.find(v);
    if (named != names.end()) {
        color = named->second;
        return true;
    }
    if (!v.empty() && v[0] == '#') v = v.substr(1);
    if (v.size() != 6 || v.find_first_not_of("0123456789abcdef") != std::string::npos) return false;
    unsigned long n = std::strtoul(v.c_str(), nullptr, 16);
    color = RGB((n >> 16) & 0xFF, (n >> 8) & 0xFF, n & 0xFF);
    return true;
}

// Decodes the entities of a text run into cp1252.
std::string DecodeEntities(const std::string& s)
{
    static const std::map<std::string, unsigned> named = {
        {"amp", '&'}, {"lt", '<'},    {"gt", '>'},   {"quot", '"'},  {"apos", '\''},
        {"nbsp", 0xA0}, {"copy", 0xA9}, {"reg", 0xAE}, {"deg", 0xB0}, {"middot", 0xB7},
    };
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '&') {
            out += s[i];
            continue;
        }
        size_t end = s.find(';', i);
        if (end == std::string::npos || end - i > 10) {
            out += '&';
            continue;
        }
        std::string name = s.substr(i + 1, end - i - 1);
        unsigned code = 0;
        bool known = false;
        if (!name.empty() && name[0] == '#') {
            bool hex = name.size() > 1 && (name[1] == 'x' || name[1] == 'X');
            const char* digits = name.c_str() + (hex ? 2 : 1);
            char* stop = nullptr;
            code = (unsigned)std::strtoul(digits, &stop, hex ? 16 : 10);
            known = stop && *stop == 0 && *digits;
        } else {
            auto it = named.find(Lower(name));
            known = it != named.end();
            if (known) code = it->second;
        }
        if (!known) {
            out += '&';
            continue;
        }
        out += code > 0 && code < 256 ? (char)code : '?';
        i = end;
    }
    return out;
}

struct Tag {
    std::string name;  // lower case, without '/'
    bool closing = false;
    std::map<std::string, std::string> attrs;  // names lower case
};

Tag ParseTag(const std::string& body)
{
    Tag tag;
    size_t i = 0;
    auto skipSpace = [&] { while (i < body.size() && std::isspace((unsigned char)body[i])) ++i; };
    skipSpace();
    if (i < body.size() && body[i] == '/') {
        tag.closing = true;
        ++i;
    }
    size_t start = i;
    while (i < body.size() && !std::isspace((unsigned char)body[i]) && body[i] != '/') ++i;
    tag.name = Lower(body.substr(start, i - start));
    while (i < body.size()) {
        skipSpace();
        start = i;
        while (i < body.size() && body[i] != '=' && !std::isspace((unsigned char)body[i]) && body[i] != '/') ++i;
        std::string key = Lower(body.substr(start, i - start));
        skipSpace();
        std::string value;
        if (i < body.size() && body[i] == '=') {
            ++i;
            skipSpace();
            if (i < body.size() && (body[i] == '"' || body[i] == '\'')) {
                char q = body[i++];
                start = i;
                while (i < body.size() && body[i] != q) ++i;
                value = body.substr(start, i - start);
                if (i < body.size()) ++i;
            } else {
                start = i;
                while (i < body.size() && !std::isspace((unsigned char)body[i])) ++i;
                value = body.substr(start, i - start);
            }
        }
        if (!key.empty()) tag.attrs[key] = DecodeEntities(value);
        if (start == i && key.empty()) ++i;  // stray character
    }
    return tag;
}


}  // namespace

Page::~Page()
{
    for (auto& f : fonts) ::DeleteObject(f.second);
}

HFONT Page::Font(const TextStyle& style)
{
    auto it = fonts.find(style);
    if (it != fonts.end()) return it->second;
    HFONT font = ::CreateFontA(-style.size, 0, 0, 0, style.bold ? FW_BOLD : FW_NORMAL, style.italic, style.underline,
                               FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               (style.mono ? FIXED_PITCH : VARIABLE_PITCH) | FF_DONTCARE,
                               style.mono ? "Courier New" : "Tahoma");
    fonts[style] = font;
    return font;
}

void Page::Parse(const std::string& markup)
{
    items.clear();
    title.clear();
    std::vector<TextStyle> styles{TextStyle{}};
    std::vector<std::string> open;   // tags that pushed a style
    std::vector<int> listCounters;   // -1: bullets; else the next number
    int indent = 0;
    int centerDepth = 0;
    int preDepth = 0;
    bool inHead = false;
    bool pendingSpace = false;
    bool firstCell = true;

    auto addBreak = [&](Item::Kind kind) {
        Item it;
        it.kind = kind;
        it.style = styles.back();
        it.indent = indent;
        it.center = centerDepth > 0;
        items.push_back(it);
        pendingSpace = false;
    };
    auto addWord = [&](const std::string& text) {
        Item it;
        it.kind = Item::Word;
        it.text = text;
        it.style = styles.back();
        it.spaceBefore = pendingSpace;
        it.indent = indent;
        it.center = centerDepth > 0;
        items.push_back(it);
        pendingSpace = false;
    };
    auto pushStyle = [&](const std::string& name, TextStyle s) {
        styles.push_back(s);
        open.push_back(name);
    };
    auto popStyle = [&](const std::string& name) {
        for (size_t i = open.size(); i-- > 0;) {
            if (open[i] != name) continue;
            open.resize(i);
            styles.resize(i + 1);
            return;
        }
    };
    std::vector<std::string> centered;  // open tags that centre their lines
    auto beginCenter = [&](const std::string& name) {
        centered.push_back(name);
        ++centerDepth;
    };
    auto endCenter = [&](const std::string& name) {
        if (!centered.empty() && centered.back() == name) {
            centered.pop_back();
            --centerDepth;
        }
    };
    auto text = [&](const std::string& raw) {
        if (inHead) return;
        std::string s = DecodeEntities(raw);
        if (preDepth > 0) {
            std::string word;
            for (char c : s) {
                if (c == '\r') continue;
                if (c == '\n') {
                    if (!word.empty()) addWord(word);
                    word.clear();
                    addBreak(Item::LineBreak);
                } else {
                    word += c == '\t' ? ' ' : c;
                }
            }
            if (!word.empty()) addWord(word);
            return;
        }
        std::string word;
        for (char c : s) {
            if (std::isspace((unsigned char)c)) {
                if (!word.empty()) addWord(word);
                word.clear();
                pendingSpace = true;
            } else {
                word += c;
            }
        }
        if (!word.empty()) addWord(word);
    };

    static const int headingSizes[] = {32, 24, 19, 16, 13, 11};
    size_t i = 0;
    while (i < markup.size()) {
        size_t lt = markup.find('<', i);
        if (lt == std::string::npos) {
            text(markup.substr(i));
            break;
        }
        if (lt > i) text(markup.substr(i, lt - i));
        if (markup.compare(lt, 4, "<!--") == 0) {
            size_t end = markup.find("-->", lt + 4);
            i = end == std::string::npos ? markup.size() : end + 3;
            continue;
        }
        size_t gt = markup.find('>', lt);
        if (gt == std::string::npos) {
            text(markup.substr(lt));
            break;
        }
        std::string body = markup.substr(lt + 1, gt - lt - 1);
        i = gt + 1;
        if (!body.empty() && (body[0] == '!' || body[0] == '?')) continue;
        Tag tag = ParseTag(body);
        const std::string& n = tag.name;
        bool aligned = Lower(tag.attrs.count("align") ? tag.attrs["align"] : "") == "center";
        if (n == "script" || n == "style") {
            if (!tag.closing) {
                size_t end = Lower(markup).find("</" + n, i);
                i = end == std::string::npos ? markup.size() : markup.find('>', end) + 1;
                if (i == 0) i = markup.size();
            }
            continue;
        }
        if (n == "title") {
            if (!tag.closing) {
                size_t end = Lower(markup).find("</title", i);
                std::string t = markup.substr(i, end == std::string::npos ? std::string::npos : end - i);
                title = DecodeEntities(t);
                // Titles are one line of text.
                std::string clean;
                bool space = false;
                for (char c : title) {
                    if (std::isspace((unsigned char)c)) {
                        space = !clean.empty();
                        continue;
                    }
                    if (space) clean += ' ';
                    space = false;
                    clean += c;
                }
                title = clean;
                i = end == std::string::npos ? markup.size() : end;
            }
            continue;
        }
        if (n == "head") {
            inHead = !tag.closing;
            continue;
        }
        if (n == "body" && !tag.closing) {
            inHead = false;
            COLORREF c;
            if (tag.attrs.count("bgcolor") && ParseColor(tag.attrs["bgcolor"], c)) background = c;
            if (tag.attrs.count("text") && ParseColor(tag.attrs["text"], c)) {
                for (TextStyle& st : styles) st.color = c;
            }
            continue;
        }
        if (n.size() == 2 && n[0] == 'h' && n[1] >= '1' && n[1] <= '6') {
            addBreak(Item::ParaBreak);
            if (!tag.closing) {
                TextStyle s = styles.back();
                s.size = headingSizes[n[1] - '1'];
                s.bold = true;
                pushStyle(n, s);
                if (aligned) beginCenter(n);
            } else {
                popStyle(n);
                endCenter(n);
                addBreak(Item::ParaBreak);
            }
            continue;
        }
        if (n == "p" || n == "div" || n == "center") {
            addBreak(n == "div" ? Item::LineBreak : Item::ParaBreak);
            if (!tag.closing && (n == "center" || aligned)) beginCenter(n);
            if (tag.closing) endCenter(n);
            continue;
        }
        if (n == "br") {
            addBreak(Item::LineBreak);
            continue;
        }
        if (n == "hr") {
            addBreak(Item::Rule);
            continue;
        }
        if (n == "b" || n == "strong" || n == "i" || n == "em" || n == "u" || n == "a" ||
            n == "font") {
            if (tag.closing) {
                popStyle(n);
                continue;
            }
            TextStyle s = styles.back();
            if (n == "b" || n == "strong") s.bold = true;
            if (n == "i" || n == "em") s.italic = true;
            if (n == "u") s.underline = true;
            if (n == "a" && tag.attrs.count("href")) {
                s.underline = true;
                s.color = kLinkColor;
            }
            if (n == "font") {
                COLORREF c;
                if (tag.attrs.count("color") && ParseColor(tag.attrs["color"], c)) s.color = c;
                if (tag.attrs.count("size")) {
                    static const int sizes[] = {10, 13, 16, 19, 24, 32, 48};
                    int v = std::atoi(tag.attrs["size"].c_str());
                    std::string raw = tag.attrs["size"];
                    if (!raw.empty() && (raw[0] == '+' || raw[0] == '-')) v += 3;
                    s.size = sizes[std::clamp(v, 1, 7) - 1];
                }
            }
            pushStyle(n, s);
            continue;
        }
        if (n == "pre") {
            addBreak(Item::ParaBreak);
            if (!tag.closing) {
                ++preDepth;
                TextStyle s = styles.back();
                s.mono = true;
                s.size = 13;
                pushStyle(n, s);
            } else if (preDepth > 0) {
                --preDepth;
                popStyle(n);
            }
            continue;
        }
        if (n == "ul" || n == "ol") {
            addBreak(listCounters.empty() ? Item::ParaBreak : Item::LineBreak);
            if (!tag.closing) {
                listCounters.push_back(n == "ol" ? 1 : -1);
                indent += kListIndent;
            } else if (!listCounters.empty()) {
                listCounters.pop_back();
                indent -= kListIndent;
            }
            continue;
        }
        if (n == "li") {
            if (tag.closing) continue;
            addBreak(Item::LineBreak);
            std::string mark = "\x95";
            if (!listCounters.empty() && listCounters.back() > 0) mark = std::to_string(listCounters.back()++) + ".";
            addWord(mark);
            pendingSpace = true;
            continue;
        }
        if (n == "table") {
            addBreak(Item::ParaBreak);
            continue;
        }
        if (n == "tr") {
            addBreak(Item::LineBreak);
            firstCell = true;
            continue;
        }
        if (n == "td" || n == "th") {
            if (tag.closing) {
                if (n == "th") popStyle("th");
                continue;
            }
            if (!firstCell) addBreak(Item::CellGap);
            firstCell = false;
            if (n == "th") {
                TextStyle s = styles.back();
                s.bold = true;
                pushStyle("th", s);
            }
            continue;
        }
        // Other tags: their text stays, the tag itself does nothing.
    }
}

void Page::Layout(HDC dc, int viewWidth)
{
    lines.clear();
    rules.clear();
    width = std::max(viewWidth, 2 * kPageMargin + 40);
    int right = width - kPageMargin;
    int y = kPageMargin;
    Line line;
    bool lineCenter = false;
    int lineIndent = 0;
    bool lastWasPara = true;  // no gap at the very top
    HGDIOBJ oldFont = ::GetCurrentObject(dc, OBJ_FONT);

    auto metrics = [&](const TextStyle& s, int& h, int& ascent) {
        ::SelectObject(dc, Font(s));
        TEXTMETRICA tm{};
        ::GetTextMetricsA(dc, &tm);
        h = tm.tmHeight + tm.tmExternalLeading;
        ascent = tm.tmAscent;
    };
    auto finish = [&](const TextStyle* emptyStyle) {
        if (line.runs.empty()) {
            if (emptyStyle) {
                int h, a;
                metrics(*emptyStyle, h, a);
                y += h;
            }
            line = Line{};
            return;
        }
        if (lineCenter) {
            const Run& last = line.runs.back();
            ::SelectObject(dc, Font(last.style));
            SIZE sz{};
            ::GetTextExtentPoint32A(dc, last.text.c_str(), (int)last.text.size(), &sz);
            int used = last.x + sz.cx - (kPageMargin + lineIndent);
            int shift = std::max(0, (right - kPageMargin - lineIndent - used) / 2);
            for (Run& r : line.runs) r.x += shift;
        }
        line.y = y;
        y += line.height;
        lines.push_back(line);
        line = Line{};
        lastWasPara = false;
    };

    int x = kPageMargin;
    for (const Item& it : items) {
        switch (it.kind) {
        case Item::Word: {
            ::SelectObject(dc, Font(it.style));
            SIZE sz{};
            ::GetTextExtentPoint32A(dc, it.text.c_str(), (int)it.text.size(), &sz);
            SIZE space{};
            ::GetTextExtentPoint32A(dc, " ", 1, &space);
            if (line.runs.empty()) {
                lineIndent = it.indent;
                lineCenter = it.center;
                x = kPageMargin + lineIndent;
            } else if (it.spaceBefore) {
                x += space.cx;
            }
            if (!line.runs.empty() && x + sz.cx > right) {
                finish(nullptr);
                lineIndent = it.indent;
                lineCenter = it.center;
                x = kPageMargin + lineIndent;
            }
            int h, a;
            metrics(it.style, h, a);
            line.height = std::max(line.height, h);
            line.ascent = std::max(line.ascent, a);
            line.runs.push_back(Run{x, it.text, it.style});
            x += sz.cx;
            break;
        }
        case Item::CellGap:
            x += kCellGap;
            break;
        case Item::LineBreak:
            if (line.runs.empty() && !lastWasPara) {
                finish(&it.style);  // an empty line
            } else {
                finish(nullptr);
            }
            break;
        case Item::ParaBreak:
            finish(nullptr);
            if (!lastWasPara) {
                int h, a;
                metrics(TextStyle{}, h, a);
                y += h / 2;
                lastWasPara = true;
            }
            break;
        case Item::Rule:
            finish(nullptr);
            y += 6;
            rules.push_back(CRect(kPageMargin + it.indent, y, right, y + 2));
            y += 8;
            lastWasPara = true;
            break;
        }
        if (it.kind == Item::LineBreak && !line.runs.empty()) lastWasPara = false;
    }
    finish(nullptr);
    height = y + kPageMargin;
    ::SelectObject(dc, oldFont);
}

void Page::Draw(HDC dc) const
{
    HGDIOBJ oldFont = ::GetCurrentObject(dc, OBJ_FONT);
    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = ::GetTextColor(dc);
    auto* self = const_cast<Page*>(this);
    for (const Line& line : lines) {
        for (const Run& run : line.runs) {
            ::SelectObject(dc, self->Font(run.style));
            TEXTMETRICA tm{};
            ::GetTextMetricsA(dc, &tm);
            ::SetTextColor(dc, run.style.color);
            ::TextOutA(dc, run.x, line.y + line.ascent - tm.tmAscent, run.text.c_str(), (int)run.text.size());
        }
    }
    HBRUSH ruleBrush = ::CreateSolidBrush(RGB(128, 128, 128));
    for (const CRect& r : rules) ::FillRect(dc, &r, ruleBrush);
    ::DeleteObject(ruleBrush);
    ::SetTextColor(dc, oldColor);
    ::SetBkMode(dc, oldMode);
    ::SelectObject(dc, oldFont);
}


}  // namespace afxhtml

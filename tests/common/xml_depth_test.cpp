// The nesting depth found without parsing, held against what the parser
// itself builds: on texts it accepts the two agree exactly, on texts it
// rejects the walk never finds less than the parser got to.
#include "qr_xml_depth.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int wide = 1000;  // a limit no text of these tests reaches

std::string Repeat(const std::string& part, int times)
{
    std::string out;
    out.reserve(part.size() * static_cast<size_t>(times));
    for (int i = 0; i < times; ++i)
        out += part;
    return out;
}

// Elements within elements in what the parser built, the innermost counted.
// The parser links every element it began into its parent, also when it
// fails inside it, so this is how deep its parse went.
int BuiltDepth(const TiXmlNode& node)
{
    int deepest = 0;
    for (const TiXmlNode* child = node.FirstChild(); child; child = child->NextSibling())
        deepest = std::max(deepest, BuiltDepth(*child));
    return node.ToElement() ? deepest + 1 : deepest;
}

struct Parsed {
    bool ok;
    int depth;
};

Parsed ParseWithTheParser(const std::string& text)
{
    TiXmlDocument document;
    document.Parse(text.c_str());
    return {!document.Error(), BuiltDepth(document)};
}

TEST(XmlDepth, TableOfTexts)
{
    const std::string bom = "\xef\xbb\xbf";
    struct Case {
        const char* what;
        std::string text;
        int limit;
        int depth;
    } cases[] = {
        {"nothing", "", wide, 0},
        {"a lone element", "<PING synch=\"1\"/>", wide, 1},
        {"children", "<A><B/><C><D/></C></A>", wide, 3},
        {"several top-level elements", "<P/><!-- x --><Q><R/></Q>", wide, 2},
        {"blanks and a name with its own marks", "<a ><_b.c-d:e\t/></a >", wide, 2},
        {"a blank after '<' makes no element", "< a><b/>", wide, 1},
        {"an end tag inside a double-quoted value", "<a x=\"/></a>\"><b/></a>", wide, 2},
        {"an end tag inside a single-quoted value", "<a x='</a>' y=\"'\"><b/></a>", wide, 2},
        {"an unquoted value", "<a x=1><b/></a>", wide, 2},
        {"tags inside a comment", "<a><!-- <b><b><b> --></a>", wide, 1},
        {"tags inside CDATA", "<a><![CDATA[<b><b></a>]]><c/></a>", wide, 2},
        {"a processing instruction ends at its first '>'", "<?pi <b?><a><c/></a>", wide, 2},
        {"a DOCTYPE", "<!DOCTYPE a><a/>", wide, 1},
        {"text outside elements ends the parse", "<a/> text <b><c/></b>", wide, 1},
        {"a zero byte ends the text", std::string("<a>\0<b><c/></b></a>", 20), wide, 1},
        {"entities", "<a x=\"&quot;&#x3c;\">&lt;&#60;<b/></a>", wide, 2},
        {"a reference that takes in a quote", "<r><a x=\"&#x\"></a></r>x3c;\"><b/></a></r>", wide, 3},
        {"a reference that takes in an end tag", "<a>&#</a>#60;<b/></a>", wide, 2},
        {"deep behind references", Repeat("<a>&#</a>#60;", 100000), 256, 257},
        // Read as bytes, the lead byte is one character; read as UTF-8 it
        // swallows the end tag, and the next element lands inside.
        {"a lead byte, read as bytes", "<a>\xe0</a><b/>", wide, 1},
        {"a lead byte after a byte order mark", bom + "<a>\xe0</a><b/>", wide, 2},
        {"a lead byte after a declaration", "<?xml version=\"1.0\"?><a>\xe0</a><b/>", wide, 2},
        {"a lead byte after a Latin-1 declaration", "<?xml encoding=\"ISO-8859-1\"?><a>\xe0</a><b/>", wide, 1},
        {"an encoding written with an entity", "<?xml encoding='UTF&#45;8'?><a>\xe0</a><b/>", wide, 2},
        {"a lead byte in a value after a byte order mark", bom + "<a x=\"\xc3\"/>\"><b/></a>", wide, 2},
        {"the same value read as bytes", "<a x=\"\xc3\"/>\"><b/></a>", wide, 1},
        {"a lead byte at the end of a UTF-8 text", bom + "<a>\xf0", wide, wide + 1},
        {"a lead byte at the end of a UTF-8 value", bom + "<a x='\xe0", wide, wide + 1},
        {"a lead byte at the end of a byte text", "<a>\xf0", wide, 1},
        {"deep", Repeat("<a>", 100000), 256, 257},
        {"deep with the end tags in values", Repeat("<a x=\"/></a>\">", 100000), 256, 257},
        {"deep with swallowed end tags", bom + Repeat("<a>\xe0</a>", 100000), 256, 257},
        {"deep after a declaration", "<?xml?>" + Repeat("<a>\xe0</a>", 100000), 256, 257},
        {"deep behind comments", Repeat("<a><!-- -->", 100000), 256, 257},
        {"as deep as allowed", Repeat("<a>", 255) + "<b/>" + Repeat("</a>", 255), 256, 256},
        {"many siblings", "<r>" + Repeat("<x y=\"1\"/>", 100000) + "</r>", 256, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(qr_xml_nesting_depth(c.text, c.limit), c.depth) << c.what;
        // Where it is safe to ask, the parser agrees.
        if (c.depth <= 64 && c.text.size() < 1000) {
            EXPECT_EQ(ParseWithTheParser(c.text).depth, c.depth) << c.what;
        }
    }
}

// Random texts: well-formed element trees of the kinds of content above,
// some of them with a random fragment put in somewhere.
class TextMaker {
public:
    explicit TextMaker(unsigned seed) : random_(seed) {}

    std::string Make()
    {
        std::string text;
        switch (Pick(6)) {
        case 0: text += "\xef\xbb\xbf"; break;
        case 1: text += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"; break;
        case 2: text += "<?xml version='1.0' encoding='windows-1252'?>\n"; break;
        default: break;
        }
        // Damage goes after the declaration: an encoding written with
        // entities is walked both ways on purpose, which may count more than
        // the parser on such a text.
        const size_t head = text.size();
        const int roots = 1 + Pick(2);
        for (int r = 0; r < roots; ++r)
            Element(text, 0);
        const int damage = Pick(4);
        for (int d = 0; d < damage; ++d)
            text.insert(head + static_cast<size_t>(Pick(static_cast<int>(text.size() - head) + 1)), Fragment());
        // No character may run past the end: the parser would read beyond it.
        return text + "   ";
    }

private:
    int Pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

    std::string Fragment()
    {
        static const char* const fragments[] = {
            "<a>", "</a>", "<b/>", "/>", ">", "<",    "'",     "\"",   "=",         " ",   "\xe0",   "\xf0", "\xc3",
            "\xef\xbb\xbf", "<!--", "-->", "<![CDATA[", "]]>", "<?xml?>", "</", "<!", "x=\"", "<?pi", "\x85", "&#x",
            "&#", ";", "x3c;", "#60;", "&"};
        return fragments[Pick(static_cast<int>(sizeof fragments / sizeof fragments[0]))];
    }

    std::string Value()
    {
        static const char* const values[] = {"",       "plain", "/>",       "</a>",          "<b>",
                                             "\xc3\xa9", "\xe0", "&amp;\xe2\x82\xac", "it's", "&#x41;"};
        return values[Pick(static_cast<int>(sizeof values / sizeof values[0]))];
    }

    void Element(std::string& text, int depth)
    {
        static const char* const names[] = {"a", "TREEITEM", "IP", "_x.y-z:w", "\xc3\xa9t\xc3\xa9"};
        const std::string name = names[Pick(static_cast<int>(sizeof names / sizeof names[0]))];
        text += "<" + name;
        const int attributes = Pick(3);
        for (int i = 0; i < attributes; ++i) {
            const std::string value = Value();
            const bool single = value.find('\'') == std::string::npos && Pick(2) == 0;
            text += " n" + std::to_string(i) + (Pick(2) ? " = " : "=") + (single ? "'" : "\"") + value +
                    (single ? "'" : "\"");
        }
        if (depth >= 12 || Pick(4) == 0) {
            text += Pick(2) ? "/>" : " />";
            return;
        }
        text += ">";
        const int children = Pick(4);
        for (int i = 0; i < children; ++i) {
            switch (Pick(6)) {
            case 0: text += "some text \xe2\x82\xac &lt; "; break;
            case 1: text += "<!-- <a> \"' -->"; break;
            case 2: text += "<![CDATA[ </" + name + "> <a> ]]>"; break;
            default: Element(text, depth + 1); break;
            }
        }
        text += "</" + name + (Pick(3) == 0 ? " >" : ">");
    }

    std::mt19937 random_;
};

TEST(XmlDepth, AgreesWithTheParserOnRandomTexts)
{
    TextMaker maker(20240611);
    int accepted_deep = 0, rejected = 0;
    for (int i = 0; i < 20000; ++i) {
        const std::string text = maker.Make();
        const Parsed parsed = ParseWithTheParser(text);
        const int walked = qr_xml_nesting_depth(text, wide);
        if (parsed.ok) {
            ASSERT_EQ(walked, parsed.depth) << "accepted text #" << i << ": " << text;
            if (parsed.depth >= 4)
                ++accepted_deep;
        } else {
            ASSERT_GE(walked, parsed.depth) << "rejected text #" << i << ": " << text;
            ++rejected;
        }
    }
    // Both kinds were met often enough to mean something.
    EXPECT_GT(accepted_deep, 1000);
    EXPECT_GT(rejected, 1000);
}

}  // namespace

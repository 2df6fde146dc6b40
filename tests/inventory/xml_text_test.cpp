#include "xml_text.h"

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <tinyxml.h>

#include <memory>

namespace {

std::string TinyPrint(const TiXmlNode& node)
{
    TiXmlPrinter printer;
    printer.SetStreamPrinting();
    node.Accept(&printer);
    return printer.CStr();
}

// True when a strict parser (no recovery) takes the text as XML 1.0.
bool StrictlyWellFormed(const std::string& text)
{
    xmlDocPtr doc = xmlReadMemory(text.data(), static_cast<int>(text.size()), "frame.xml", "ISO-8859-1",
                                  XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (doc == nullptr)
        return false;
    xmlFreeDoc(doc);
    return true;
}

TEST(XmlText, OrdinaryElementsAreWrittenAsTinyXmlWritesThem)
{
    const char* texts[] = {
        "<PONG synch=\"5\"/>",
        "<REMOVEBRANCH parent=\"-1\" uid=\"12\" synch=\"0\"/>",
        "<TREEITEM uid=\"3\" name=\"a &lt;b&gt; &amp; &quot;c&quot; 'd'\" comment=\"\"><IP from=\"1.2.3.4\"/>"
        "<COMM name=\"x'y\"/></TREEITEM>",
        "<TABLE><HEADER><COL name=\"Name\"/></HEADER><ROWS><ROW><CELLS><C>tab&#x09;lf&#x0A;cr&#x0D;</C></CELLS>"
        "</ROW></ROWS></TABLE>",
        "<A v='say \"hi\"'>text <B/> more</A>",
        "<LOG text=\"caf\xe9 \xa9 \x7f\" alert=\"1\"/>",
    };
    for (const char* text : texts) {
        TiXmlDocument doc;
        doc.Parse(text, nullptr, TIXML_ENCODING_LEGACY);
        ASSERT_FALSE(doc.Error()) << text;
        EXPECT_EQ(PrintXmlText(*doc.RootElement()), TinyPrint(*doc.RootElement())) << text;
    }
}

TEST(XmlText, BytesXmlDoesNotAllowAreSentAsQuestionMarks)
{
    TiXmlElement item("TREEITEM");
    item.SetAttribute("name", std::string("sw\x19itch\x01\x1f"));
    item.SetAttribute("comment", "&#x19; &#xZZ &#65; &amp;");
    TiXmlElement cell("C");
    cell.InsertEndChild(TiXmlText(std::string("eth\x0b" "0\x0c\tend", 10)));
    item.InsertEndChild(cell);

    const std::string tiny = TinyPrint(item);
    EXPECT_FALSE(StrictlyWellFormed(tiny)) << tiny;  // what a strict console refused

    const std::string sent = PrintXmlText(item);
    EXPECT_EQ(sent, "<TREEITEM name=\"sw?itch??\" comment=\"&amp;#x19; &amp;#xZZ &amp;#65; &amp;amp;\">"
                    "<C>eth?0?&#x09;end</C></TREEITEM>");
    EXPECT_TRUE(StrictlyWellFormed(sent)) << sent;

    // Read back, the texts are those stored, but for the replaced bytes.
    TiXmlDocument back;
    back.Parse(sent.c_str(), nullptr, TIXML_ENCODING_LEGACY);
    ASSERT_FALSE(back.Error());
    EXPECT_EQ(std::string(back.RootElement()->Attribute("name")), "sw?itch??");
    EXPECT_EQ(std::string(back.RootElement()->Attribute("comment")), "&#x19; &#xZZ &#65; &amp;");
    EXPECT_EQ(std::string(back.RootElement()->FirstChildElement("C")->GetText()), "eth?0?\tend");
}

}  // namespace

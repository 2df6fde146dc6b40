#include "xml_text.h"

#include <cstdio>
#include <tinyxml.h>

namespace {

void Encode(const std::string& text, std::string& out)
{
    for (const char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        case '\t':
        case '\n':
        case '\r': {
            char reference[8];
            std::snprintf(reference, sizeof reference, "&#x%02X;", c);
            out += reference;
            break;
        }
        default:
            out += c < 0x20 ? XmlTextReplacement : ch;
            break;
        }
    }
}

void Print(const TiXmlNode& node, std::string& out);

void PrintElement(const TiXmlElement& element, std::string& out)
{
    out += '<';
    out += element.ValueStr();
    for (const TiXmlAttribute* a = element.FirstAttribute(); a != nullptr; a = a->Next()) {
        // TinyXML quotes with apostrophes a value that holds a double quote.
        const char quote = a->ValueStr().find('"') == std::string::npos ? '"' : '\'';
        out += ' ';
        Encode(a->NameTStr(), out);
        out += '=';
        out += quote;
        Encode(a->ValueStr(), out);
        out += quote;
    }
    if (element.FirstChild() == nullptr) {
        out += " />";
        return;
    }
    out += '>';
    for (const TiXmlNode* child = element.FirstChild(); child != nullptr; child = child->NextSibling())
        Print(*child, out);
    out += "</";
    out += element.ValueStr();
    out += '>';
}

void Print(const TiXmlNode& node, std::string& out)
{
    if (const TiXmlElement* element = node.ToElement()) {
        PrintElement(*element, out);
    } else if (const TiXmlText* text = node.ToText(); text != nullptr && !text->CDATA()) {
        Encode(text->ValueStr(), out);
    } else if (const TiXmlDocument* document = node.ToDocument()) {
        for (const TiXmlNode* child = document->FirstChild(); child != nullptr; child = child->NextSibling())
            Print(*child, out);
    } else {
        // Declarations, comments, CDATA and unknown nodes: the server sends
        // none of them; TinyXML writes them as they are.
        TiXmlPrinter printer;
        printer.SetStreamPrinting();
        node.Accept(&printer);
        out += printer.CStr();
    }
}

}  // namespace

std::string PrintXmlText(const TiXmlNode& node)
{
    std::string out;
    Print(node, out);
    return out;
}

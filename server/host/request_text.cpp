#include "request_text.h"

#include <tinyxml.h>

namespace {

// Texts are bytes in the console's code page; the characters XML 1.0 leaves
// out of that range are the C0 controls other than tab, line feed and
// carriage return. (A zero byte never reaches a parsed value.)
bool IsXmlText(const char* text)
{
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c != 0; ++c)
        if (*c < 0x20 && *c != '\t' && *c != '\n' && *c != '\r')
            return false;
    return true;
}

}  // namespace

bool HoldsOnlyXmlText(const TiXmlElement& element, std::string& where)
{
    for (const TiXmlAttribute* a = element.FirstAttribute(); a != nullptr; a = a->Next()) {
        if (!IsXmlText(a->Value())) {
            where = std::string(a->Name()) + " of " + element.ValueStr();
            return false;
        }
    }
    for (const TiXmlElement* child = element.FirstChildElement(); child != nullptr;
         child = child->NextSiblingElement())
        if (!HoldsOnlyXmlText(*child, where))
            return false;
    return true;
}

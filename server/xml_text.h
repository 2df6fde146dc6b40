// The text of the XML the server sends: TinyXML's compact stream form, one
// element, no declaration, indentation or line breaks, with two differences
// that keep every frame well-formed XML 1.0 for strict parsers:
// - a C0 control byte other than tab, line feed and carriage return (from an
//   agent's OCTET STRING, a walk file, a stored name) is sent as '?': XML 1.0
//   allows no such character, not even as a character reference. The stored
//   data keeps the byte;
// - '&' is always written "&amp;": TinyXML passes a text "&#x..." through
//   unescaped, which turns stored text into a reference (or into malformed
//   XML when no valid reference follows).
// Everything else is written as TinyXML writes it. Pure; any thread.
#pragma once

#include <string>

class TiXmlNode;

// The replacement of a byte that XML 1.0 does not allow.
constexpr char XmlTextReplacement = '?';

std::string PrintXmlText(const TiXmlNode& node);

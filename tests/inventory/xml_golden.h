// Printing elements for golden comparisons: one line, no indentation, the
// attributes in the order they were set (a value holding a double quote is
// printed between single quotes); and parsing a printed text back.
#pragma once

#include <tinyxml.h>

#include <string>

inline std::string print_xml(const TiXmlElement& element)
{
    TiXmlPrinter printer;
    printer.SetIndent("");
    printer.SetLineBreak("");
    element.Accept(&printer);
    return printer.Str();
}

// Parses a printed element; the document is empty (no root) when the text is
// not well-formed.
inline bool parse_xml(const std::string& text, TiXmlDocument& document)
{
    document.Parse(text.c_str(), nullptr, TIXML_ENCODING_UTF8);
    return !document.Error() && document.RootElement() != nullptr;
}

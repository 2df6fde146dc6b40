// The check that a request holds only text that XML 1.0 allows. Consoles
// parse what the server sends back with XML parsers, and a control character
// stored in a name would come back as a character reference those parsers
// refuse, breaking every later tree of the client type for them. Pure; any
// thread.
#pragma once

#include <string>

class TiXmlElement;

// True when every attribute value of the element and of the elements below
// it is XML 1.0 character data. Otherwise false, and `where` names the first
// offending attribute as "<attribute> of <ELEMENT>".
bool HoldsOnlyXmlText(const TiXmlElement& element, std::string& where);

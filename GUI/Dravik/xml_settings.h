// Access to the console settings document: a section is an element under the
// document's root, each value an attribute of it. Every function works in
// both directions: with `save` set it writes the value into the document,
// else it reads it, and on a missing or malformed value returns false and
// leaves the caller's variable as it was. Keys are cleaned into XML names
// (white space and "/" become "_"). Numbers are decimal text; byte blocks two
// lowercase hexadecimal digits per byte. Pure functions over the elements
// given; the caller owns the document (GUI thread).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class TiXmlElement;

std::string MakeXmlKey(const std::string& key);

// The child element of the cleaned name: created and appended when saving;
// on load null when it or `parent` is missing (a first child of that name
// that is no element counts as missing).
TiXmlElement* XmlSettingsNode(bool save, TiXmlElement* parent, const std::string& key);

bool XmlSettingString(bool save, TiXmlElement* element, const std::string& key, std::string& value);
// Written as a signed 32-bit decimal number, as the console always has:
// values with the top bit set appear negative and load back as they were.
// Loads only a text that is wholly one decimal number.
bool XmlSettingULong(bool save, TiXmlElement* element, const std::string& key, std::uint32_t& value);
bool XmlSettingInt(bool save, TiXmlElement* element, const std::string& key, int& value);
// Exactly 2 x length hexadecimal digits; anything else loads nothing.
bool XmlSettingBinary(bool save, TiXmlElement* element, const std::string& key, unsigned char* data,
                      std::size_t length);

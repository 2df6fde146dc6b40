#include "xml_settings.h"

#include <tinyxml.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

namespace {

// The whole text as one decimal number within [low, high].
bool ParseWhole(const char* text, long long low, long long high, long long& value)
{
    if (!text || !*text || !((*text >= '0' && *text <= '9') || *text == '-'))
        return false;
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || end == text || parsed < low || parsed > high)
        return false;
    value = parsed;
    return true;
}

const char* AttributeText(TiXmlElement* element, const std::string& key)
{
    return element ? element->Attribute(MakeXmlKey(key).c_str()) : nullptr;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string MakeXmlKey(const std::string& key)
{
    std::string name = key;
    for (char& c : name)
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '/')
            c = '_';
    return name;
}

TiXmlElement* XmlSettingsNode(bool save, TiXmlElement* parent, const std::string& key)
{
    if (!parent)
        return nullptr;
    const std::string name = MakeXmlKey(key);
    if (save) {
        if (TiXmlElement* child = parent->FirstChildElement(name.c_str()))
            return child;
        return parent->InsertEndChild(TiXmlElement(name.c_str()))->ToElement();
    }
    TiXmlNode* child = parent->FirstChild(name.c_str());
    return child ? child->ToElement() : nullptr;
}

bool XmlSettingString(bool save, TiXmlElement* element, const std::string& key, std::string& value)
{
    if (!element)
        return false;
    if (save) {
        element->SetAttribute(MakeXmlKey(key).c_str(), value.c_str());
        return true;
    }
    const char* text = AttributeText(element, key);
    if (!text)
        return false;
    value = text;
    return true;
}

bool XmlSettingULong(bool save, TiXmlElement* element, const std::string& key, std::uint32_t& value)
{
    if (!element)
        return false;
    if (save) {
        element->SetAttribute(MakeXmlKey(key).c_str(), std::to_string(static_cast<std::int32_t>(value)).c_str());
        return true;
    }
    long long parsed = 0;
    if (!ParseWhole(AttributeText(element, key), INT32_MIN, UINT32_MAX, parsed))
        return false;
    value = static_cast<std::uint32_t>(parsed);
    return true;
}

bool XmlSettingInt(bool save, TiXmlElement* element, const std::string& key, int& value)
{
    if (!element)
        return false;
    if (save) {
        element->SetAttribute(MakeXmlKey(key).c_str(), std::to_string(value).c_str());
        return true;
    }
    long long parsed = 0;
    if (!ParseWhole(AttributeText(element, key), INT_MIN, INT_MAX, parsed))
        return false;
    value = static_cast<int>(parsed);
    return true;
}

bool XmlSettingBinary(bool save, TiXmlElement* element, const std::string& key, unsigned char* data,
                      std::size_t length)
{
    if (!element || (!data && length))
        return false;
    static const char digits[] = "0123456789abcdef";
    if (save) {
        std::string text;
        text.reserve(2 * length);
        for (std::size_t i = 0; i < length; ++i) {
            text += digits[data[i] >> 4];
            text += digits[data[i] & 15];
        }
        element->SetAttribute(MakeXmlKey(key).c_str(), text.c_str());
        return true;
    }
    const char* text = AttributeText(element, key);
    if (!text)
        return false;
    const std::string hex = text;
    if (hex.size() != 2 * length)
        return false;
    std::vector<unsigned char> scratch(length);
    for (std::size_t i = 0; i < length; ++i) {
        const int high = HexDigit(hex[2 * i]);
        const int low = HexDigit(hex[2 * i + 1]);
        if (high < 0 || low < 0)
            return false;
        scratch[i] = static_cast<unsigned char>(high * 16 + low);
    }
    std::copy(scratch.begin(), scratch.end(), data);
    return true;
}

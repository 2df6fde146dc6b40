#include "qr_config.h"

#include "qr_exception.h"
#include "qr_log.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

std::string upper(const std::string& text)
{
    std::string out = text;
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

bool is_space(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

void trim_space(std::string& text)
{
    size_t end = text.size();
    while (end > 0 && is_space(text[end - 1]))
        --end;
    size_t begin = 0;
    while (begin < end && is_space(text[begin]))
        ++begin;
    text = text.substr(begin, end - begin);
}

// Depth first, each node before its children, from `node` over its following
// siblings.
const TiXmlElement* find_element(const TiXmlNode* node, const std::string& name)
{
    for (; node != nullptr; node = node->NextSibling()) {
        const TiXmlElement* element = node->ToElement();
        if (element != nullptr && element->ValueStr() == name)
            return element;
        if (const TiXmlElement* found = find_element(node->FirstChild(), name))
            return found;
    }
    return nullptr;
}

}  // namespace

std::string Config::Get(const std::string& section, const std::string& key) const
{
    auto s = sections_.find(upper(section));
    if (s == sections_.end())
        qr_exception("Cannot find section [%s] in the config", section.c_str());
    auto k = s->second.find(upper(key));
    if (k == s->second.end())
        qr_exception("Cannot find parameter [%s] in the section [%s] in the config", key.c_str(),
                     section.c_str());
    return k->second;
}

void Config::Put(const std::string& section, const std::string& key, const std::string& value)
{
    sections_[upper(section)].emplace(upper(key), value);
}

void Config::ReadFromFile(const std::string& path)
{
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "r"), &std::fclose);
    if (!file)
        qr_exception("Cannot open config file '%s' (errno=%d)", path.c_str(), errno);

    std::string section;
    int line_number = 0;
    bool starts_line = true;
    char piece[2048];  // a line, or the start of a longer one
    while (std::fgets(piece, sizeof piece, file.get()) != nullptr) {
        if (starts_line)
            ++line_number;
        std::string line(piece);
        starts_line = !line.empty() && line.back() == '\n';
        trim_space(line);
        if (line.empty() || line[0] == '#' || line[0] == ';')
            continue;

        if (line[0] == '[') {
            size_t close = line.find(']');
            if (close == std::string::npos)
                qr_exception("Configuration file has wrong format (can't find ']') file '%s', line %d",
                             path.c_str(), line_number);
            section = line.substr(1, close - 1);
            trim_space(section);
            continue;
        }

        size_t key_end = 0;
        while (key_end < line.size() && !is_space(line[key_end]) && line[key_end] != '=')
            ++key_end;
        size_t value_begin = key_end;
        while (value_begin < line.size() && (is_space(line[value_begin]) || line[value_begin] == '='))
            ++value_begin;
        Put(section, line.substr(0, key_end), line.substr(value_begin));
    }
}

TinyConfig::TinyConfig(const std::string& file) : file_name_(file)
{
    load();
}

TinyConfig::TinyConfig(const TinyConfig& parent, const std::string& name) : file_name_("NONAME")
{
    for (const TiXmlNode* node = parent.section_; node != nullptr; node = node->NextSibling()) {
        if (node->ToElement() != nullptr && node->ValueStr() == name) {
            section_ = node;
            loaded_ = true;
            return;
        }
    }
}

std::string TinyConfig::Get(const std::string& section, const std::string& key) const
{
    const TiXmlElement* element = find_element(section_, section);
    if (element == nullptr)
        return std::string();
    const char* value = element->Attribute(key.c_str());
    return value != nullptr ? std::string(value) : std::string();
}

void TinyConfig::Put(const std::string&, const std::string&, const std::string&) {}

void TinyConfig::ReadFromFile(const std::string& path)
{
    file_name_ = path;
    load();
}

int TinyConfig::getName(std::string& name) const
{
    if (!loaded_ || section_ == nullptr)
        return -1;
    name = section_->ValueStr();
    return 0;
}

int TinyConfig::getValue(const std::string&, std::string&) const
{
    return -1;
}

int TinyConfig::setValue(const std::string&, const std::string&)
{
    return -1;
}

void TinyConfig::load()
{
    if (!document_.LoadFile(file_name_)) {
        TRV_LOG(qr_Error, "Load document failed");
        std::exit(1);
    }
    section_ = document_.FirstChild();
    loaded_ = true;
}

XMLConfig::XMLConfig(const std::string& file) : file_name_(file)
{
    std::string reason;
    if (!XmlDomUsable(reason)) {
        std::fputs("\nError: MSXML 4.0 is not installed. Exiting.\n", stdout);
        std::fflush(stdout);
        TRV_LOG(qr_Error, "MSXML 4.0 or higher not installed. (" << reason << ")");
        qr_exception("MSXML 4.0 or higher not installed.");
    }
    load();
}

XMLConfig::XMLConfig(const XMLConfig& parent, const std::string& name)
    : document_(parent.document_), file_name_(parent.file_name_)
{
    if (!parent.loaded_)
        return;
    if (!XmlDomIsName(name)) {
        TRV_LOG(qr_Error, "No section '" << name << "' in " << file_name_ << ": not an element name");
        return;
    }
    qr_automutex lock(document_->mutex);
    root_ = parent.root_.select_single_node("descendant-or-self::" + name);
    loaded_ = static_cast<bool>(root_);
}

std::string XMLConfig::Get(const std::string& section, const std::string& key) const
{
    // Names only: a section like "a[@b='c']" must not be run as XPath.
    if (loaded_ && XmlDomIsName(section) && XmlDomIsName(key)) {
        qr_automutex lock(document_->mutex);
        // "//section/@key" within this section, the section's element included.
        XmlDomNode attribute = root_.select_single_node("descendant-or-self::" + section + "/@" + key);
        if (attribute)
            return attribute.text();
    }
    qr_exception("Failed to get attribute '%s' from section '%s'", key.c_str(), section.c_str());
}

void XMLConfig::Put(const std::string& section, const std::string& key, const std::string& value)
{
    std::string error = set_attribute(&section, key, value);
    if (!error.empty())
        qr_exception("Failed to put attribute '%s' into section '%s': %s", key.c_str(), section.c_str(),
                     error.c_str());
}

void XMLConfig::ReadFromFile(const std::string& path)
{
    file_name_ = path;
    load();
}

int XMLConfig::getName(std::string& name) const
{
    if (!loaded_)
        return -1;
    qr_automutex lock(document_->mutex);
    name = root_.name();
    return 0;
}

int XMLConfig::getValue(const std::string& key, std::string& value) const
{
    if (!loaded_ || !XmlDomIsName(key))
        return -1;
    qr_automutex lock(document_->mutex);
    XmlDomNode attribute = root_.select_single_node("@" + key);
    if (!attribute)
        return -1;
    value = attribute.text();
    return 0;
}

int XMLConfig::setValue(const std::string& key, const std::string& value)
{
    std::string error = set_attribute(nullptr, key, value);
    if (error.empty())
        return 0;
    TRV_LOG(qr_Error, "Failed to set attribute '" << key << "': " << error);
    return -1;
}

void XMLConfig::load()
{
    // A document of its own: sections taken from the old one keep theirs.
    document_ = std::make_shared<Document>();
    root_ = XmlDomNode();
    // Not shared yet; held so the compiler sees the rule kept.
    qr_automutex lock(document_->mutex);
    std::string reason;
    loaded_ = document_->dom.load(file_name_, reason);
    if (!loaded_) {
        TRV_LOG(qr_Error, "Load document failed: " << reason);
        return;
    }
    root_ = document_->dom.document_element();
}

// Empty when done, else the cause. No section: the section's own element.
std::string XMLConfig::set_attribute(const std::string* section, const std::string& key,
                                     const std::string& value)
{
    if (!loaded_)
        return "nothing is loaded from " + file_name_;
    if (section != nullptr && !XmlDomIsName(*section))
        return "'" + *section + "' is not an element name";
    if (!XmlDomIsName(key))
        return "'" + key + "' is not an attribute name";
    // Checked before the tree changes, so a refused value adds no element.
    if (!XmlDomIsText(value))
        return "the value is not text an XML file can hold (UTF-8 without control characters)";

    qr_automutex lock(document_->mutex);
    std::string error;
    XmlDomNode element = root_;
    if (section != nullptr) {
        element = root_.select_single_node("descendant-or-self::" + *section);
        if (!element && !(element = root_.append_element(*section, error)))
            return error;
    }
    if (!element.set_attribute(key, value, error))
        return error;
    if (!document_->dom.save(file_name_, error))
        return error;
    return std::string();
}

time_t ParseDateTime(const std::string& text)
{
    if (text.empty() || text == "NULL")
        return -1;
    time_t zero = 0;
    struct tm when {};
    localtime_r(&zero, &when);
    // Read wide and check ranges: a number beyond int is undefined for %d,
    // and a wild year would overflow the broken-down time.
    long year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (std::sscanf(text.c_str(), "%9ld-%9ld-%9ld %9ld:%9ld:%9ld.", &year, &month, &day, &hour, &minute,
                    &second) != 6 ||
        year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 ||
        hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 60) {
        TRV_LOG(qr_Error, "Invalid data format. Failed to parse std::string '" << text << "'");
        return -1;
    }
    when.tm_year = static_cast<int>(year - 1900);
    when.tm_mon = static_cast<int>(month - 1);
    when.tm_mday = static_cast<int>(day);
    when.tm_hour = static_cast<int>(hour);
    when.tm_min = static_cast<int>(minute);
    when.tm_sec = static_cast<int>(second);
    // Let the zone rules decide daylight saving for the date itself; the flag
    // of the epoch would put summer times an hour off.
    when.tm_isdst = -1;
    return std::mktime(&when);
}

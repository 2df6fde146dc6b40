#include "walk_file.h"

#include "qr_exception.h"
#include "qr_strings.h"
#include "snmp_data.h"
#include "snmp_oid.h"
#include "snmp_value_text.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

const char* const White = " \t\r\n\f\v";

void trim_white(std::string& text)
{
    size_t first = text.find_first_not_of(White);
    if (first == std::string::npos) {
        text.clear();
        return;
    }
    size_t last = text.find_last_not_of(White);
    text = text.substr(first, last - first + 1);
}

int hex_value(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Octets written as hex pairs between blanks ("00 1A 2B"); false for
// anything else, and for no octet at all unless `empty_ok`.
bool parse_hex_octets(const std::string& text, std::string& bytes, bool empty_ok)
{
    bytes.clear();
    size_t i = 0;
    while (true) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
        if (i == text.size())
            return empty_ok || !bytes.empty();
        if (i + 1 >= text.size() || hex_value(text[i]) < 0 || hex_value(text[i + 1]) < 0)
            return false;
        if (i + 2 < text.size() && text[i + 2] != ' ' && text[i + 2] != '\t')
            return false;
        bytes += static_cast<char>(hex_value(text[i]) * 16 + hex_value(text[i + 1]));
        i += 2;
    }
}

// The bytes of a STRING value as snmpwalk quotes it ("a\"b\\c"). `closed`
// tells whether the closing quote was found: a value with a line end in it
// goes on over the next lines of the file.
bool parse_quoted(const std::string& text, std::string& bytes, bool& closed)
{
    bytes.clear();
    closed = false;
    if (text.empty() || text[0] != '"')
        return false;
    for (size_t i = 1; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            bytes += text[++i];
        } else if (text[i] == '"') {
            closed = true;
            return text.find_first_not_of(White, i + 1) == std::string::npos;
        } else {
            bytes += text[i];
        }
    }
    return true;
}

bool parse_number(const std::string& text, bool is_signed, long long& number)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    number = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || (!is_signed && text[0] == '-'))
        return false;
    return is_signed ? number >= INT32_MIN && number <= INT32_MAX : number >= 0 && number <= UINT32_MAX;
}

// One value of snmpwalk's "= TYPE: value" forms as the session layer gives
// the agent's answer: octets as "Hex-STRING:" digits, numbers in decimal,
// addresses and OIDs as text. Values under the enterprise subtree travel
// scrambled and are restored the same way. False for any other form.
bool agent_value_text(const std::string& name, const std::string& rest, std::string& text)
{
    if (rest.size() < 2 || rest.compare(0, 2, "= ") != 0)
        return false;
    std::string value = rest.substr(2);
    std::string type;
    size_t colon = value.find(": ");
    if (!value.empty() && value[0] != '"' && colon != std::string::npos &&
        value.find_first_of(" \"") >= colon) {
        type = value.substr(0, colon);
        value = value.substr(colon + 2);
    }
    if (type.empty() || type == "STRING" || type == "Hex-STRING") {
        std::string bytes;
        if (type == "Hex-STRING") {
            if (!parse_hex_octets(value, bytes, true))
                return false;
        } else if (type == "STRING" || value.rfind("\"", 0) == 0) {
            bool closed = false;
            if (!parse_quoted(value, bytes, closed) || !closed)
                return false;
        } else {
            // With -Ot a time tick count stands alone.
            type = "Timeticks";
        }
        if (type != "Timeticks") {
            smiVALUE v{};
            v.syntax = SNMP_SYNTAX_OCTETS;
            v.value.string.len = static_cast<smiUINT32>(bytes.size());
            v.value.string.ptr = reinterpret_cast<smiBYTE*>(bytes.data());
            text = snmp_value_to_text(v, is_qor_oid(name));
            return true;
        }
    }
    long long number = 0;
    smiVALUE v{};
    if (type == "INTEGER") {
        if (!parse_number(value, true, number))
            return false;
        v.syntax = SNMP_SYNTAX_INT;
        v.value.sNumber = static_cast<smiINT>(number);
    } else if (type == "Counter32" || type == "Gauge32" || type == "Timeticks" || type == "UInteger32" ||
               type == "Unsigned32") {
        if (!parse_number(value, false, number))
            return false;
        v.syntax = SNMP_SYNTAX_CNTR32;
        v.value.uNumber = static_cast<smiUINT32>(number);
    } else if (type == "OID" || type == "IpAddress") {
        text = value;
        trim_white(text);
        return true;
    } else {
        return false;
    }
    text = snmp_value_to_text(v, is_qor_oid(name));
    return true;
}

// The value of any other line: quotes dropped, a leading "= TYPE: " or "= "
// cut, octets that are all printable turned into their characters.
std::string plain_value_text(const std::string& rest)
{
    std::string value = rest;
    RemoveChar(value, '\'');
    RemoveChar(value, '"');
    if (!value.empty() && value[0] == '=') {
        size_t colon = value.find(':');
        if (colon != std::string::npos)
            value.erase(0, colon + 2 <= value.size() ? colon + 2 : value.size());
        else
            value.erase(0, value.size() < 2 ? value.size() : 2);
    }
    return printable_hex_to_text(value);
}

// One entry of the file: its first line and the lines that continue its value.
class WalkEntry {
public:
    // Starts an entry at a line (leading white space gone).
    void start(const std::string& line)
    {
        text_ = line;
        open_ = Open::None;
        size_t blank = line.find(' ');
        std::string rest = blank == std::string::npos ? std::string() : line.substr(blank + 1);
        TrimLeft(rest);
        if (rest.rfind("= Hex-STRING: ", 0) == 0) {
            open_ = Open::Hex;
        } else if (rest.rfind("= STRING: \"", 0) == 0) {
            std::string bytes;
            bool closed = true;
            parse_quoted(rest.substr(10), bytes, closed);
            if (!closed)
                open_ = Open::String;
        }
        if (open_ != Open::String)
            trim_white(text_);
    }
    // True when the line belongs to this entry's value and was added to it:
    // snmpwalk writes 16 octets a line, and a text value as it is, line ends
    // included.
    bool take(const std::string& line)
    {
        if (open_ == Open::Hex) {
            std::string bytes, trimmed = line;
            trim_white(trimmed);
            if (!parse_hex_octets(trimmed, bytes, false))
                return false;
            text_ += " " + trimmed;
            return true;
        }
        if (open_ == Open::String) {
            // A quote that never closes must not swallow the rest of the file
            // (each line parses the value again): a text value has a bound.
            if (text_.size() + line.size() >= max_text_value) {
                open_ = Open::None;
                return false;
            }
            text_ += "\n" + line;
            size_t blank = text_.find(' ');
            std::string rest = text_.substr(blank + 1);
            TrimLeft(rest);
            std::string bytes;
            bool closed = false;
            parse_quoted(rest.substr(10), bytes, closed);
            if (closed) {
                open_ = Open::None;
                trim_white(text_);
            }
            return true;
        }
        return false;
    }
    // No more lines for it: a piece of a line too long for the buffer ends it.
    void close() { open_ = Open::None; }
    const std::string& text() const { return text_; }
    bool empty() const { return text_.empty(); }
    void clear() { text_.clear(); open_ = Open::None; }

private:
    static constexpr size_t max_text_value = 65536;
    enum class Open { None, Hex, String };
    std::string text_;
    Open open_ = Open::None;
};

// Appends the entry's value when its OID lies under `oid` (the OID as given:
// followed by "." or a blank).
void take_entry(const std::string& line, const std::string& oid, bool lines, bool date,
                std::vector<std::string>& values)
{
    size_t blank = line.find(' ');
    if (blank == std::string::npos)
        return;
    std::string name = line.substr(0, blank);
    RemoveChar(name, '\'');
    RemoveChar(name, '"');
    if (name.compare(0, oid.size(), oid) != 0 || (name.size() > oid.size() && name[oid.size()] != '.'))
        return;
    std::string rest = line.substr(blank + 1);
    TrimLeft(rest);
    std::string text;
    if (!agent_value_text(name, rest, text))
        text = plain_value_text(rest);
    values.push_back(finish_value_text(lines ? name + " " + text : text, lines, date));
}

}  // namespace

int read_walk_file_entries(const std::string& oid, const std::string& path, std::vector<std::string>& values,
                           bool lines, bool date)
{
    values.clear();
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "r"), &std::fclose);
    if (!file)
        qr_exception("Cannot open file '%s' (errno=%d)", path.c_str(), errno);
    char buffer[500];
    bool line_start = true;
    WalkEntry entry;
    while (std::fgets(buffer, sizeof buffer, file.get())) {
        std::string line = buffer;
        bool starts_line = line_start;
        line_start = !line.empty() && line.back() == '\n';
        if (line_start)
            line.pop_back();
        if (starts_line && entry.take(line))
            continue;
        if (!entry.empty())
            take_entry(entry.text(), oid, lines, date, values);
        entry.clear();
        // A line longer than the buffer comes in pieces, each read as a line.
        size_t first = line.find_first_not_of(White);
        entry.start(first == std::string::npos ? std::string() : line.substr(first));
        if (!starts_line || !line_start)
            entry.close();
    }
    if (!entry.empty())
        take_entry(entry.text(), oid, lines, date, values);
    return 0;
}

int read_walk_file(const std::string&, const std::string& oid, const std::string&,
                   const std::string& path, std::vector<std::string>& values)
{
    return read_walk_file_entries(oid, path, values, false, false);
}

bool snmp_output_path(const std::string& folder, const std::string& name, std::string& path)
{
    if (name.empty() || name == "." || name.find('/') != std::string::npos ||
        name.find('\\') != std::string::npos || name.find("..") != std::string::npos ||
        name.find('\0') != std::string::npos)
        return false;
    path = folder + "/" + SnmpOutputFolder + "/" + name;
    return true;
}

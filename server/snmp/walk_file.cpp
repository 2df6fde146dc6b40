#include "walk_file.h"

#include "qr_exception.h"
#include "qr_strings.h"
#include "snmp_value_text.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

void trim_white(std::string& text)
{
    const char* white = " \t\r\n\f\v";
    size_t first = text.find_first_not_of(white);
    if (first == std::string::npos) {
        text.clear();
        return;
    }
    size_t last = text.find_last_not_of(white);
    text = text.substr(first, last - first + 1);
}

}  // namespace

int read_walk_file_entries(const std::string& oid, const std::string& path,
                           std::vector<std::string>& values, bool lines)
{
    values.clear();
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "r"), &std::fclose);
    if (!file)
        qr_exception("Cannot open file '%s' (errno=%d)", path.c_str(), errno);
    char buffer[500];
    while (std::fgets(buffer, sizeof buffer, file.get())) {
        std::string line = buffer;
        if (!line.empty() && line.back() == '\n')
            line.pop_back();
        trim_white(line);
        RemoveChar(line, '\'');
        RemoveChar(line, '"');
        if (line.compare(0, oid.size(), oid) != 0 || line.size() <= oid.size() ||
            (line[oid.size()] != '.' && line[oid.size()] != ' '))
            continue;
        size_t blank = line.find(' ');
        if (blank == std::string::npos)
            continue;
        std::string name = line.substr(0, blank);
        std::string value = line.substr(blank + 1);
        TrimLeft(value);
        if (!value.empty() && value[0] == '=') {
            size_t colon = value.find(':');
            if (colon != std::string::npos)
                value.erase(0, colon + 2 <= value.size() ? colon + 2 : value.size());
            else
                value.erase(0, value.size() < 2 ? value.size() : 2);
        }
        value = printable_hex_to_text(value);
        values.push_back(lines ? name + " " + value : value);
    }
    return 0;
}

int read_walk_file(const std::string&, const std::string& oid, const std::string&,
                   const std::string& path, std::vector<std::string>& values)
{
    return read_walk_file_entries(oid, path, values, false);
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

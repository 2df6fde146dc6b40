#include "snmp_line.h"

void parse_snmp_line(const std::string& line, std::string& name, std::string& index,
                     std::string& last, std::string& value)
{
    size_t blank = line.find(' ');
    std::string object = blank == std::string::npos ? line : line.substr(0, blank);
    value = blank == std::string::npos ? std::string() : line.substr(blank + 1);
    if (!value.empty() && value[0] == '=') {
        value.erase(0, 1);
        if (!value.empty() && value[0] == ' ')
            value.erase(0, 1);
    }
    size_t colon = value.find(':');
    if (colon != std::string::npos && value.find('"') > colon)
        value = colon + 2 <= value.size() ? value.substr(colon + 2) : std::string();
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);

    size_t dot = object.rfind('.');
    last = dot == std::string::npos ? std::string() : object.substr(dot + 1);
    std::string rest = dot == std::string::npos ? object : object.substr(0, dot);
    dot = rest.rfind('.');
    name = dot == std::string::npos ? rest : rest.substr(0, dot);
    index = dot == std::string::npos ? std::string() : rest.substr(dot + 1);
}

std::string get_snmp_line_value(const std::string& line)
{
    if (line.find(' ') == std::string::npos)
        return line;
    std::string name, index, last, value;
    parse_snmp_line(line, name, index, last, value);
    return value;
}

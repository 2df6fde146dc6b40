// Splitting one line of SNMP text output ("NAME.INDEX.LAST = TYPE: value")
// into its parts. Pure functions, any thread.
#pragma once

#include <string>

// The value is everything after the first blank, without a leading "= ",
// without a type prefix ("TYPE: ") that comes before any double quote, and
// without surrounding double quotes. The object name before the blank is
// split at its last "." into the last part, and the rest again into name
// and index.
void parse_snmp_line(const std::string& line, std::string& name, std::string& index,
                     std::string& last, std::string& value);
// Only the value; a line without a blank is the value itself.
std::string get_snmp_line_value(const std::string& line);

// Turning raw SNMP value texts into cell texts: line ends, quotes,
// "Hex-STRING:" octets, dates and type prefixes. Hexadecimal digits are
// '0'-'9' and 'A'-'F' only; any other character counts as 0. Pure
// functions, any thread.
#pragma once

#include <string>

// Normalised values are cut to this many characters.
constexpr size_t MaxValueText = 2255;

std::string normalise_value_text(const std::string& text, bool date);
// One raw value of a walk as a table scan returns it: cut to MaxValueText,
// then normalised (value mode, `date` reading octets as a date) or, in line
// mode ("OID value"), with its octets expanded and "iso." written ".1.".
std::string finish_value_text(const std::string& raw, bool lines, bool date);
// "prefix Hex-STRING:octets" becomes "prefix text-of-octets".
std::string expand_hex_string(const std::string& text);
// Octets written as "41 42 43" become their characters when all are printable.
std::string printable_hex_to_text(const std::string& text);
bool is_printable_hex(const std::string& text);
// The octets' characters, or the text as given when one is not printable.
std::string hex_to_text(const std::string& text);
// 7 octets (the enterprise agent's dates), or a DateAndTime's 8 or 11
// (tenths of a second, then the offset from UTC, after the same 7), as
// "Y-MM-DD, hh:mm:ss" of the first 7: the agent's own clock. Any other
// length gives the empty text.
std::string hex_to_date(const std::string& text);
// The byte of the first two characters, which are removed from the text.
unsigned char hex_pair_to_byte(std::string& text);
// Hex digits (blanks between them ignored) as a list of set bit positions
// ("0A" gives "1,3"); a text with a "," stays as it is.
std::string hex_to_bit_list(const std::string& text);
// Removes the bytes 0-31 and 128-191.
std::string drop_control_chars(const std::string& text);

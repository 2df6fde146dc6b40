// A range of addresses written as its first and last address joined by a
// dash, as the console writes one: "10.0.0.1 - 10.0.0.5". Read apart from
// the per-octet form ("10 . 1-3 . * . 7"): cut at its first dots, the text
// would otherwise give the fourth octet "1-10.0.0.5", the range 1 to 10.
// Pure; any thread.
#pragma once

#include <cstdint>
#include <string>

// True when the text, blanks and brackets left out, holds more dots than
// the three of one address: it can only be two addresses, never a mask.
bool NamesTwoAddresses(const std::string& text);

// Reads "a.b.c.d - e.f.g.h" (blanks and brackets not significant): true with
// both addresses, first octet in the top byte, when the text is exactly two
// such addresses of decimal octets 0..255 around one dash. The last may lie
// below the first; the range then holds no address.
bool ParseAddressRange(const std::string& text, uint32_t& first, uint32_t& last);

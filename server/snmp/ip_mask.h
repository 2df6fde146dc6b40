// Address texts of the scan engine: expansion of the address masks that
// consoles enter ("10.1-3.*.5", "10.0.0.1 - 10.0.0.5"), dotted text to and from an address, the
// reverse lookup of a host name, and splitting a text at a separator.
// Addresses are 32-bit numbers, first octet in the top byte. Pure functions
// except lookup_host_name (the resolver); any thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One range never expands to more addresses than this.
constexpr uint64_t MaxAddressesPerMask = 65536;

// Appends the addresses of the mask in ascending order. Each of the four
// octets is a value or a range "a-b"; "*" stands for 0-255 in the second and
// third octet and 1-254 in the fourth. A mask may also be two whole addresses
// joined by a dash ("10.0.0.1 - 10.0.0.5"): every address from the first to
// the last. Blanks and brackets are ignored. A mask with a value above 255,
// a wildcard first octet, more dots than one address without being two
// addresses, or more than MaxAddressesPerMask addresses appends nothing,
// logs why at Error and returns false.
bool expand_ip_mask(const std::string& mask, std::vector<uint32_t>& list);

std::string ip_to_text(uint32_t address);
// Exactly four decimal parts, each 0..255; false otherwise.
bool parse_ipv4(const std::string& text, uint32_t& address);
// The name the resolver gives for the address, or the empty text.
std::string lookup_host_name(const std::string& address);
// The parts between separators, in order, empty ones included.
std::vector<std::string> split_string(const std::string& text, char separator);

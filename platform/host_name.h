// The name the system's resolver gives an IPv4 address (reverse look-up).
// Any thread may call it.
#pragma once

#include <cstdint>
#include <string>

// `address` in host byte order; empty when the resolver knows no name.
std::string LookupHostName(std::uint32_t address);

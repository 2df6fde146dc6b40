// The byte transformation of the values that the QOR agent serves under its
// enterprise subtree. It is its own inverse: the agent scrambles with it and
// the session layer unscrambles with it. Pure functions, any thread.
#pragma once

#include <cstddef>

// The enterprise subtree whose values travel scrambled.
constexpr const char* QorEnterpriseOid = "1.3.6.1.4.1.39871";

// The one-byte key shared with the agent.
constexpr unsigned char QorScrambleKey = 0x5A;

// Transforms `length` bytes in place; null or 0 does nothing.
void scramble_octets(unsigned char* buffer, size_t length);
// Transforms the 4 bytes of a 32-bit value in place; null does nothing.
void scramble_int32(void* buffer);

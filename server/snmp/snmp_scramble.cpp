#include "snmp_scramble.h"

namespace {

unsigned char swap_nibbles(unsigned char b)
{
    return static_cast<unsigned char>((b << 4) | (b >> 4));
}

}  // namespace

void scramble_octets(unsigned char* buffer, size_t length)
{
    if (!buffer)
        return;
    for (size_t i = 0; i < length; ++i)
        buffer[i] = swap_nibbles(static_cast<unsigned char>(swap_nibbles(buffer[i]) ^ QorScrambleKey));
}

void scramble_int32(void* buffer)
{
    scramble_octets(static_cast<unsigned char*>(buffer), 4);
}

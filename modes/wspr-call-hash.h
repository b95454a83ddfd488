// The 15-bit hash that stands for a callsign in a WSPR type 3 message ("<PJ4/K1ABC> FK52UD 37"):
// a receiver that has decoded the call in full before knows which call the hash means.
#pragma once

#include <cstdint>
#include <string_view>

namespace wspr {

// The 32-bit hash of key (Bob Jenkins' lookup3, little-endian reading) started from seed.
std::uint32_t Lookup3Hash(std::string_view key, std::uint32_t seed);

// The call's hash as WSPR sends it: lookup3 with seed 146, low 15 bits. The call is taken byte
// for byte, so letter case matters.
int CallHash(std::string_view call);

}  // namespace wspr

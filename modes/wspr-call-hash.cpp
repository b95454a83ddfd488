// The hash of a type 3 call, computed by the encoder core.
#include "modes/wspr-call-hash.h"

#include <algorithm>

#include "modes/core/wspr/qvw-wspr.h"

namespace wspr {

std::uint32_t Lookup3Hash(std::string_view key, std::uint32_t seed) {
  return qvw_lookup3(key.data(), std::uint8_t(std::min<std::size_t>(key.size(), 255)), seed);
}

int CallHash(std::string_view call) {
  return qvw_call_hash(call.data(), std::uint8_t(std::min<std::size_t>(call.size(), 255)));
}

}  // namespace wspr

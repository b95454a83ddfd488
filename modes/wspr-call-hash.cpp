// lookup3: three 32-bit words stirred by a mixing round per 12-byte block and a final round.
#include "modes/wspr-call-hash.h"

#include <bit>

namespace wspr {
namespace {

struct HashState {
  std::uint32_t a, b, c;
};

// x -= y; x ^= rotl(y, k); y += z, for the six (x, y, z, k) steps of one mixing round.
void Mix(HashState& s) {
  auto step = [](std::uint32_t& x, std::uint32_t& y, std::uint32_t z, int k) {
    x -= y;
    x ^= std::rotl(y, k);
    y += z;
  };
  step(s.a, s.c, s.b, 4);
  step(s.b, s.a, s.c, 6);
  step(s.c, s.b, s.a, 8);
  step(s.a, s.c, s.b, 16);
  step(s.b, s.a, s.c, 19);
  step(s.c, s.b, s.a, 4);
}

// x ^= y; x -= rotl(y, k), for the seven steps of the final round.
void Final(HashState& s) {
  auto step = [](std::uint32_t& x, std::uint32_t y, int k) {
    x ^= y;
    x -= std::rotl(y, k);
  };
  step(s.c, s.b, 14);
  step(s.a, s.c, 11);
  step(s.b, s.a, 25);
  step(s.c, s.b, 16);
  step(s.a, s.c, 4);
  step(s.b, s.a, 14);
  step(s.c, s.b, 24);
}

// Up to four bytes from at, as a little-endian word, zero bytes past the end.
std::uint32_t Word(std::string_view key, std::size_t at) {
  std::uint32_t word = 0;
  for (std::size_t i = 0; i < 4 && at + i < key.size(); ++i)
    word |= std::uint32_t(static_cast<unsigned char>(key[at + i])) << (8 * i);
  return word;
}

}  // namespace

std::uint32_t Lookup3Hash(std::string_view key, std::uint32_t seed) {
  std::uint32_t start = 0xDEADBEEF + std::uint32_t(key.size()) + seed;
  HashState s{start, start, start};
  if (key.empty()) return s.c;
  std::size_t at = 0;
  for (; key.size() - at > 12; at += 12) {
    s.a += Word(key, at);
    s.b += Word(key, at + 4);
    s.c += Word(key, at + 8);
    Mix(s);
  }
  s.a += Word(key, at);
  s.b += Word(key, at + 4);
  s.c += Word(key, at + 8);
  Final(s);
  return s.c;
}

int CallHash(std::string_view call) {
  return int(Lookup3Hash(call, 146) & 0x7FFF);
}

}  // namespace wspr

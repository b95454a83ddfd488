/* The lookup3 hash as the host asks for it, any key and seed; the rounds are in
   qvw-lookup3-rounds.h, shared with the packer. */
#include "qvw-lookup3-rounds.h"
#include "qvw-wspr.h"

uint32_t qvw_lookup3(const char* key, uint8_t length, uint32_t seed) {
  return qvw_lookup3_rounds(key, length, seed);
}

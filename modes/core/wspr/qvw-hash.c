/* The lookup3 hash as the host asks for it, any key and seed; the rounds are in
   qvw-lookup3-rounds.h, shared with the packer. */
#include "qvw-lookup3-rounds.h"
#include "qvw-wspr.h"

uint32_t qvw_lookup3(const char* key, uint8_t length, uint32_t seed) {
  /* The packer never hashes an empty key, so only this caller tells one apart. */
  if (length == 0) return (uint32_t)(QVW_LOOKUP3_START + seed);
  return qvw_lookup3_rounds(key, length, seed);
}

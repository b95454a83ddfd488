/* The FST4W frame: 50 message bits, their CRC-24 and the 166 parity bits of the LDPC (240,74)
   code, keyed as tones. The generator (166 rows of 74 bits, half of them 1) would take 1,554 bytes
   of flash; the code's own parity checks are far shorter: most tie two or three parity bits to one
   or two message bits. So the parity bits are set one after another, each by a check in which
   every other bit is already known, and the 21 parity bits that no such chain reaches first come
   from their rows of the generator. The tables were derived from the generator offline (checks of
   at most four parity bits whose sum has at most two message bits, chained greedily); the
   reference comparison of every tone proves them. */
#include <string.h>

#include "modes/core/common/qvc-flash.h"
#include "modes/core/fst4/qvs-frame.h"
#include "modes/core/fst4/qvs-fst4.h"

#define QVS_INFO_74 74 /* message and CRC bits; the parity bits follow them */

/* The parity bits set from their generator rows: each the codeword place of the bit, then 10
   bytes of its row over codeword bits 0-79 (bits 74-79 0). */
static const uint8_t QVS_ROWS_74[21 * 11] QVC_FLASH = {
    183, 55,  178, 232, 57,  160, 102, 227, 183, 113, 64,  205, 243, 94,  15,  221, 161, 190,
    75,  59,  53,  192, 96,  18,  206, 55,  27,  144, 238, 157, 254, 114, 192, 187, 187, 211,
    79,  138, 253, 99,  222, 175, 86,  64,  175, 230, 50,  48,  210, 212, 101, 251, 68,  117,
    0,   130, 25,  154, 138, 123, 17,  72,  22,  185, 127, 64,  79,  36,  75,  72,  40,  162,
    204, 242, 181, 245, 128, 153, 57,  117, 16,  210, 198, 203, 94,  129, 222, 128, 194, 85,
    104, 173, 185, 53,  225, 16,  132, 171, 192, 224, 88,  67,  15,  87,  127, 81,  195, 107,
    62,  0,   137, 10,  128, 77,  186, 124, 126, 69,  51,  48,  0,   140, 218, 47,  112, 56,
    213, 80,  250, 136, 216, 192, 235, 137, 104, 64,  148, 91,  232, 234, 191, 127, 0,   189,
    102, 181, 123, 171, 238, 221, 97,  36,  17,  64,  159, 169, 9,   154, 206, 150, 191, 240,
    146, 144, 64,  215, 211, 210, 19,  141, 159, 162, 104, 218, 62,  128, 147, 252, 116, 110,
    229, 199, 104, 39,  168, 114, 128, 192, 159, 104, 187, 206, 198, 121, 209, 192, 136, 192,
    156, 146, 72,  243, 206, 160, 134, 159, 235, 153, 64,  106, 90,  68,  156, 217, 12,  61,
    189, 254, 132, 64,  125, 105, 53,  108, 8,   43,  119, 83,  164, 123, 0,
};

/* The checks, in the order they are used: each the codeword places of its bits, largest first,
   exactly one of them not yet known (the bit it sets), its last a message bit; so a check ends
   where the next place is larger than the one before. */
/* The checks, in the order they are used: each the codeword place of the parity bit it sets (not
   yet known, so 0 in the codeword), then those of its other parity bits, already set, and last
   those of its message bits; so a check begins where a parity bit's place follows a message
   bit's. */
static const uint8_t QVS_CHECKS_74[618] QVC_FLASH = {
    124, 183, 1,   8,   56,  133, 183, 205, 39,  59,  144, 133, 0,   57,  209, 96,  144, 31,  112,
    124, 187, 36,  221, 124, 175, 52,  84,  130, 187, 15,  182, 79,  2,   32,  143, 79,  209, 40,
    123, 153, 182, 44,  113, 130, 194, 39,  92,  123, 194, 16,  154, 92,  224, 3,   103, 175, 224,
    58,  127, 154, 0,   36,  70,  138, 137, 224, 43,  229, 137, 144, 42,  54,  231, 127, 140, 5,
    168, 153, 231, 38,  132, 140, 221, 4,   109, 132, 235, 59,  173, 168, 235, 18,  121, 173, 205,
    60,  64,  93,  168, 189, 24,  90,  84,  189, 10,  63,  89,  90,  209, 51,  61,  122, 159, 221,
    33,  210, 90,  122, 50,  162, 159, 194, 20,  55,  178, 122, 215, 34,  102, 138, 215, 23,  73,
    198, 93,  147, 17,  179, 132, 147, 23,  186, 96,  179, 56,  68,  78,  192, 231, 53,  234, 78,
    186, 16,  158, 78,  187, 7,   65,  91,  158, 235, 48,  50,  228, 113, 156, 47,  208, 93,  156,
    31,  74,  156, 234, 13,  166, 175, 228, 14,  57,  239, 106, 178, 40,  167, 166, 239, 53,  193,
    106, 121, 17,  169, 84,  239, 6,   80,  169, 229, 20,  73,  149, 162, 193, 21,  63,  163, 102,
    149, 29,  126, 79,  163, 8,   66,  220, 74,  126, 15,  202, 178, 220, 28,  86,  109, 193, 12,
    72,  216, 86,  143, 22,  236, 123, 202, 10,  57,  188, 147, 236, 49,  97,  188, 216, 53,  203,
    86,  169, 47,  62,  196, 127, 149, 37,  68,  119, 89,  196, 14,  201, 119, 188, 13,  213, 137,
    201, 7,   164, 91,  196, 11,  64,  104, 164, 208, 25,  232, 80,  164, 56,  157, 192, 203, 19,
    66,  197, 157, 0,   26,  217, 157, 159, 51,  165, 125, 216, 24,  160, 165, 210, 52,  111, 160,
    208, 2,   171, 125, 232, 28,  211, 171, 173, 45,  131, 111, 213, 28,  100, 138, 211, 22,  225,
    131, 197, 46,  148, 197, 211, 8,   49,  190, 109, 148, 34,  199, 100, 130, 32,  72,  223, 154,
    160, 41,  62,  134, 158, 223, 49,  120, 74,  190, 3,   61,  226, 120, 133, 4,   65,  150, 100,
    226, 25,  76,  111, 205, 5,   63,  77,  150, 179, 6,   64,  233, 77,  165, 37,  82,  167, 233,
    48,  200, 77,  220, 51,  152, 82,  225, 3,   191, 91,  200, 42,  135, 152, 215, 44,  230, 112,
    125, 30,  69,  108, 92,  230, 17,  172, 104, 152, 45,  65,  87,  143, 172, 27,  88,  87,  199,
    13,  139, 88,  198, 44,  151, 88,  232, 29,  177, 151, 190, 35,  212, 89,  177, 38,  222, 76,
    139, 22,  237, 134, 177, 39,  85,  210, 237, 54,  136, 85,  225, 12,  83,  108, 222, 54,  181,
    83,  120, 40,  116, 136, 186, 35,  117, 116, 217, 32,  219, 116, 121, 14,  75,  108, 172, 9,
    68,  214, 75,  201, 35,  170, 200, 214, 46,  195, 85,  126, 11,  71,  98,  112, 195, 20,  218,
    98,  119, 34,  114, 103, 218, 9,   94,  114, 203, 18,  146, 94,  219, 55,  142, 94,  198, 15,
    227, 102, 142, 46,  206, 146, 148, 42,  161, 153, 227, 47,  95,  97,  206, 9,   155, 95,  226,
    19,  145, 135, 206, 6,   180, 155, 170, 27,  110, 171, 180, 16,  72,  105, 110, 212, 26,  115,
    110, 227, 11,  238, 105, 162, 31,  129, 155, 238, 52,  204, 96,  115, 19,  81,  129, 195, 38,
    118, 131, 238, 18,  99,  118, 199, 33,  174, 99,  115, 21,  128, 99,  223, 30,  101, 146, 174,
    10,  185, 104, 219, 43,  71,  107, 150, 230, 26,  67,  141, 136, 191, 5,   67,  176, 141, 228,
    45,  184, 107, 176, 50,  207, 81,  106, 234, 58};

void qvs_fst4w_tones(const uint8_t bits[QVS_FST4W_BYTES], uint8_t tones[QVS_TONES]) {
  uint8_t codeword[QVS_CODEWORD_BYTES];
  const uint8_t* next;
  uint8_t at, k, sum = 0, previous = 0, target = 0;
  memset(codeword, 0, sizeof codeword);
  memcpy(codeword, bits, QVS_FST4W_BYTES);
  codeword[6] &= 0xC0U; /* bits 48 and 49 only */
  qvs_append_crc24(codeword, QVS_FST4W_BITS);
  for (next = QVS_ROWS_74; next < QVS_ROWS_74 + sizeof QVS_ROWS_74; next += 11) {
    for (k = 0, sum = 0; k < 10; ++k) sum ^= (uint8_t)(codeword[k] & qvc_flash_byte(next + 1 + k));
    sum ^= (uint8_t)(sum >> 4);
    sum ^= (uint8_t)(sum >> 2);
    qvs_put_bits(codeword, qvc_flash_byte(next), (uint8_t)(sum ^ (sum >> 1)), 1);
  }
  for (next = QVS_CHECKS_74, sum = 0; next < QVS_CHECKS_74 + sizeof QVS_CHECKS_74; ++next) {
    at = qvc_flash_byte(next);
    if (at >= QVS_INFO_74 && previous < QVS_INFO_74) {
      /* The check before is complete: its sum is the bit it sets. */
      qvs_put_bits(codeword, target, sum, 1);
      target = at;
      sum = 0;
    }
    sum ^= qvs_bit(codeword, at);
    previous = at;
  }
  qvs_put_bits(codeword, target, sum, 1);
  qvs_key(codeword, tones);
}

qvc_status qvs_fst4w_encode(const char* text, uint8_t tones[QVS_TONES], qvc_report* report) {
  uint8_t bits[QVS_FST4W_BYTES];
  qvc_status status = qvs_fst4w_pack(text, bits, 0, report);
  if (status == QVC_OK) qvs_fst4w_tones(bits, tones);
  return status;
}

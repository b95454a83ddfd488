/* The symbol length of each FST4 and FST4W period: samples a symbol at 12000 Hz. */
#include "modes/core/fst4/qvs-fst4.h"

uint32_t qvs_samples_per_symbol(uint16_t period_seconds) {
  switch (period_seconds) {
    case 15:
      return 720;
    case 30:
      return 1680;
    case 60:
      return 3888;
    case 120:
      return 8200;
    case 300:
      return 21504;
    case 900:
      return 66560UL;
    case 1800:
      return 134400UL;
    default:
      return 0;
  }
}

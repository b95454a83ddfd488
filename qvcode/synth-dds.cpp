// The direct digital synthesisers' tuning words: the output is clock * word / 2^bits, so each tone
// gets the nearest word to tone * 2^bits / clock, rounded on its own (a tone's distance from tone
// 0 is then off by at most one step: clock / 2^bits). AD9850 and AD9851 take 32-bit words in five
// bytes, W0 (control and phase; on the AD9851 bit 0 switches its 6x clock multiplier on) before the
// word's bytes from the top; the AD9833 takes 28 bits as two 14-bit halves, each a 16-bit SPI word
// addressed to FREQ0 (0x4000), after a control word with B28 set.
#include <cmath>
#include <cstdio>

#include "qvcode/synthesisers.h"

namespace qvcode {

Outcome TuneDds(const Synthesiser& chip, double clockHz, BandTuning& band) {
  const bool ad9833 = chip.name == "ad9833";
  const int bits = ad9833 ? 28 : 32;
  const double steps = std::ldexp(1.0, bits);
  for (ToneTuning& tone : band.tones) {
    // Below Nyquist, where the DAC's output still holds the wanted frequency as its fundamental.
    if (tone.wantedHz <= 0 || tone.wantedHz >= clockHz / 2) {
      char text[160];
      std::snprintf(text, sizeof text,
                    "the %s makes frequencies below half its clock, %.3f Hz; a tone would be "
                    "%.3f Hz",
                    std::string(chip.display).c_str(), clockHz / 2, tone.wantedHz);
      return Outcome::Failed(text);
    }
    std::uint32_t word = std::uint32_t(std::llround(tone.wantedHz * steps / clockHz));
    tone.madeHz = word * clockHz / steps;
    if (ad9833) {
      std::uint16_t low = std::uint16_t(0x4000 | (word & 0x3FFF));
      std::uint16_t high = std::uint16_t(0x4000 | ((word >> 14) & 0x3FFF));
      tone.bytes = {std::uint8_t(low >> 8), std::uint8_t(low), std::uint8_t(high >> 8),
                    std::uint8_t(high)};
    } else {
      std::uint8_t control = chip.name == "ad9851" ? 0x01 : 0x00;
      tone.bytes = {control, std::uint8_t(word >> 24), std::uint8_t(word >> 16),
                    std::uint8_t(word >> 8), std::uint8_t(word)};
    }
  }
  if (ad9833) band.setup = {0x21, 0x00};
  char plan[120];
  std::snprintf(plan, sizeof plan, "%d-bit tuning word, one step %.6f Hz", bits, clockHz / steps);
  band.plan = plan;
  return {};
}

}  // namespace qvcode

// Reading a transmission out of a chip's port writes, and checking its symbol timing.
#include "tests/outside/on-air/transmission.h"

#include <gtest/gtest.h>

#include <cmath>

namespace testonair {

Transmission Transmitted(const std::vector<PortWrite>& writes, const Wiring& wiring) {
  Transmission sent;
  int lastTone = -1;
  double lastToneAt = 0;
  for (const PortWrite& write : writes) {
    bool keyed = sent.keyUp >= 0 && sent.keyDown < 0;
    bool keyBit = (write.value >> wiring.keyBit) & 1;
    if (write.port == wiring.tonePort) {
      int tone = write.value & wiring.toneMask;
      if (keyed) sent.tones.push_back(tone), sent.seconds.push_back(write.seconds);
      lastTone = tone, lastToneAt = write.seconds;
    }
    if (write.port != wiring.keyPort) continue;
    if (!keyed && sent.keyUp < 0 && keyBit) {
      sent.keyUp = write.seconds;
      if (lastTone >= 0) sent.tones.push_back(lastTone), sent.seconds.push_back(lastToneAt);
    } else if (keyed && !keyBit) {
      sent.keyDown = write.seconds;
    }
  }
  return sent;
}

void ExpectSymbolTiming(const Transmission& sent, double symbolSeconds) {
  ASSERT_GT(sent.keyDown, 0) << "the key never went down again";
  for (size_t i = 0; i < sent.seconds.size(); ++i) {
    double end = i + 1 < sent.seconds.size() ? sent.seconds[i + 1] : sent.keyDown;
    double ppm = ((end - sent.seconds[i]) / symbolSeconds - 1) * 1e6;
    EXPECT_LE(std::abs(ppm), 100) << "symbol period " << i << " is off by " << ppm << " ppm";
  }
}

}  // namespace testonair

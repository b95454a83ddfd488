// A transmission as a simulated chip sends it, read from a trace of its port writes: the tones it
// puts on one port while its key pin on another is up, and when each was written.
#pragma once

#include <string>
#include <vector>

namespace testonair {

struct PortWrite {
  double seconds;  // simulated time of the write
  char port;       // 'A', 'B', 'D', ...
  int value;
};

struct Transmission {
  std::vector<int> tones;
  std::vector<double> seconds;  // when each tone was written
  double keyUp = -1, keyDown = -1;
};

struct Wiring {
  char tonePort;
  int toneMask;  // the tone's bits on that port
  char keyPort;
  int keyBit;
};

// The tone standing on the tone port when the key goes up, and every tone written while it
// stays up (also a tone equal to the one before: each symbol period is written).
Transmission Transmitted(const std::vector<PortWrite>& writes, const Wiring& wiring);

// Expects every symbol period, the last ending when the key goes down, to last symbolSeconds
// within 100 ppm.
void ExpectSymbolTiming(const Transmission& sent, double symbolSeconds);

}  // namespace testonair

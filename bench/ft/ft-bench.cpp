// Measures how many messages per second the FT8 and FT4 encoders handle in-process: packing into
// 77 bits, unpacking back, CRC, LDPC and tones, over a fixed mix of every message type.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "modes/mode.h"
#include "tests/ft/ft-message-maker.h"

int main() {
  const std::vector<std::string> messages = fttest::MakeFtMessages(7, 10000);
  using Clock = std::chrono::steady_clock;
  for (modes::Mode mode : {modes::Mode::kFt8, modes::Mode::kFt4}) {
    // Repeated passes for about a second; the tone sum keeps the work from being optimised away.
    std::size_t encoded = 0, refused = 0;
    long long checksum = 0;
    Clock::time_point start = Clock::now();
    double seconds = 0;
    while (seconds < 1.0) {
      for (const std::string& message : messages) {
        modes::Encoding encoding;
        if (modes::EncodeMessage(mode, 0, message, encoding).ok)
          checksum += encoding.tones[50];
        else
          ++refused;
      }
      encoded += messages.size();
      seconds = std::chrono::duration<double>(Clock::now() - start).count();
    }
    std::printf(
        "%s: %zu messages (%zu refused) in %.2f s: %.0f messages per second (checksum %lld)\n",
        std::string(modes::InfoOf(mode).name).c_str(), encoded, refused, seconds,
        double(encoded) / seconds, checksum);
  }
  return 0;
}

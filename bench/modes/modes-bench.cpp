// Measures how many messages per second each mode encodes in-process through the one entry
// point (packing, coding, tones and the decoded text), over a fixed mix of every kind of message
// the mode takes, refused ones included.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "modes/mode.h"
#include "tests/modes/ft-message-maker.h"
#include "tests/modes/jt65-message-maker.h"
#include "tests/modes/wspr-message-maker.h"

int main() {
  using Clock = std::chrono::steady_clock;
  const std::vector<std::string> jtMessages = jt65test::MakeMessages(7, 10000);
  const std::vector<std::string> wsprMessages = modestest::MakeWsprMessages(7, 10000);
  const std::vector<std::string> ftMessages = fttest::MakeFtMessages(7, 10000);

  for (const modes::ModeInfo& info : modes::AllModes()) {
    bool ft = info.mode == modes::Mode::kFt8 || info.mode == modes::Mode::kFt4;
    const std::vector<std::string>& messages =
        info.mode == modes::Mode::kWspr ? wsprMessages : (ft ? ftMessages : jtMessages);
    // Repeated passes for about a second; the tone sum keeps the work from being optimised away.
    std::size_t encoded = 0, refused = 0;
    long long checksum = 0;
    Clock::time_point start = Clock::now();
    double seconds = 0;
    while (seconds < 1.0) {
      for (const std::string& message : messages) {
        modes::Encoding encoding;
        if (modes::EncodeMessage(info.mode, 0, message, encoding).ok) {
          checksum += encoding.tones.back() + static_cast<long long>(encoding.decoded.size());
        } else {
          ++refused;
        }
      }
      encoded += messages.size();
      seconds = std::chrono::duration<double>(Clock::now() - start).count();
    }
    std::printf("%-5s %8.0f messages per second (%zu in %.2f s, %zu refused; checksum %lld)\n",
                std::string(info.name).c_str(), encoded / seconds, encoded, seconds, refused,
                checksum);
  }
  return 0;
}

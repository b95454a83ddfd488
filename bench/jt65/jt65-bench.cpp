// Measures how many messages per second the encoder handles in-process: encoding, decoding back
// and formatting the listing, over a fixed mix of every kind of message.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "modes/jt65-encoder.h"
#include "tests/modes/jt65-message-maker.h"
#include "tools/jt65code/listing.h"

int main() {
  const std::vector<std::string> messages = jt65test::MakeMessages(7, 10000);
  using Clock = std::chrono::steady_clock;

  // Repeated passes for about a second; the symbol sum keeps the work from being optimised away.
  std::size_t encoded = 0;
  long long checksum = 0;
  Clock::time_point start = Clock::now();
  double seconds = 0;
  while (seconds < 1.0) {
    for (const std::string& message : messages) {
      jt65::Encoding encoding = jt65::EncodeMessage(message);
      checksum +=
          encoding.channel[62] + static_cast<long long>(jt65::FormatListing(encoding).size());
    }
    encoded += messages.size();
    seconds = std::chrono::duration<double>(Clock::now() - start).count();
  }
  std::printf("%zu messages in %.2f s: %.0f messages per second (checksum %lld)\n", encoded,
              seconds, encoded / seconds, checksum);
  return 0;
}

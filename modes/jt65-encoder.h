// The whole JT65 encoding of one message, from the typed text to the 63 channel symbols and 126
// tones (done by the encoder core), and the text that decoding those symbols gives back.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "modes/jt65-channel.h"
#include "modes/packed-message.h"

namespace jt65 {

struct Encoding {
  std::string message;  // the text as encoded: normalised, 22 characters, OOO included
  MessageType type = MessageType::kStandard;
  bool ooo = false;
  DataSymbols data{};            // not set for a shorthand message
  ChannelSymbols channel{};      // not set for a shorthand message
  std::array<int, 126> tones{};  // sync included; not set for a shorthand message
  std::string decoded;           // 22 characters, OOO included
  std::uint32_t changes = 0;     // the core's QVC_CHANGED_* bits
};

Encoding EncodeMessage(std::string_view text);

// The 22-character text that error-free channel symbols decode to, without any OOO flag.
std::string DecodeChannelSymbols(const ChannelSymbols& channel);

}  // namespace jt65

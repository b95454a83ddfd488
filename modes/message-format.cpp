// Normalisation of the message text, the OOO flag and the shorthand messages, as the encoder
// core does them.
#include "modes/message-format.h"

#include "modes/core/jt/qvj-message.h"
#include "modes/fixed-text.h"

namespace jt65 {

std::string NormaliseMessage(std::string_view argument) {
  std::string text(argument);
  std::string message(kMessageLength, ' ');
  std::uint32_t changes = 0;
  qvj_normalise(text.c_str(), message.data(), &changes);
  return message;
}

OooSplit SplitOooFlag(const std::string& message) {
  OooSplit split{Fixed(message, kMessageLength), false};
  split.ooo = qvj_split_ooo(split.message.data()) != 0;
  return split;
}

bool IsShorthand(const std::string& message) {
  return qvj_is_shorthand(Fixed(message, kMessageLength).data()) != 0;
}

}  // namespace jt65

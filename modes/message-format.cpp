// Normalisation of the message text, the OOO flag and the shorthand messages.
#include "modes/message-format.h"

#include "modes/fixed-text.h"

namespace jt65 {

std::string NormaliseMessage(std::string_view argument) {
  std::string message = Fixed(argument, kMessageLength);
  for (char& c : message) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  std::size_t last = message.find_last_not_of(' ');
  std::size_t end = last == std::string::npos ? kMessageLength : last + 1;
  for (;;) {
    std::size_t pair = std::string_view(message).substr(0, end).find("  ");
    if (pair == std::string_view::npos) break;
    message.erase(pair, 1);
    message.push_back(' ');
    --end;
  }
  return message;
}

OooSplit SplitOooFlag(const std::string& message) {
  std::size_t last = message.find_last_not_of(' ');
  std::size_t end = last == std::string::npos ? kMessageLength : last + 1;
  if (end < 11) return {message, false};
  bool short_flag = message.compare(19, 3, " OO") == 0;
  bool full_flag = message.compare(end - 4, 4, " OOO") == 0;
  if (!short_flag && !full_flag) return {message, false};
  std::size_t keep = short_flag ? 19 : end - 4;
  return {Fixed(std::string_view(message).substr(0, keep), kMessageLength), true};
}

bool IsShorthand(const std::string& message) {
  std::string_view text = TrimRight(message);
  return text == "RO" || text == "RRR" || text == "73";
}

}  // namespace jt65

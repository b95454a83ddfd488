// A beacon's schedule: identification lines taken into the message before them, and WSPR's
// six-character locators split into the type 1 or 2 and type 3 messages that carry them.
#include "qvcode/beacon-schedule.h"

#include "common/ascii.h"
#include "modes/wspr-message.h"

namespace qvcode {
namespace {

bool IsIdentification(const std::string& text) {
  std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos || text.size() - first < kIdentificationPrefix.size())
    return false;
  for (std::size_t i = 0; i < kIdentificationPrefix.size(); ++i) {
    char c = text[first + i];
    if ((c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c) != kIdentificationPrefix[i]) return false;
  }
  return true;
}

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  for (std::size_t at = text.find_first_not_of(' '); at != std::string::npos;
       at = text.find_first_not_of(' ', at)) {
    std::size_t end = std::min(text.find(' ', at), text.size());
    words.push_back(text.substr(at, end - at));
    at = end;
  }
  return words;
}

// The WSPR messages a line stands for: itself, or the pair a six-character locator needs (the
// packer of type 3 decides whether the locator is one).
std::vector<std::string> WsprMessages(const std::string& text) {
  std::vector<std::string> words = Words(text);
  if (words.size() != 3 || words[1].size() != 6 || words[0].starts_with('<')) return {text};
  const std::string& call = words[0];
  std::string hashed = "<" + call + "> " + words[1] + " " + words[2];
  if (!wspr::PackMessage(hashed).ok) return {text};
  bool compound = call.find('/') != std::string::npos;
  std::string full =
      compound ? call + " " + words[2] : call + " " + words[1].substr(0, 4) + " " + words[2];
  return {full, hashed};
}

}  // namespace

Outcome ShapeSchedule(std::vector<Message>& messages, modes::Mode mode) {
  std::vector<Message> shaped;
  std::size_t lastLine = 0;  // where the messages of the last message line start in shaped
  for (const Message& message : messages) {
    if (IsIdentification(message.text)) {
      std::string text = message.text.substr(message.text.find(':') + 1);
      std::size_t first = text.find_first_not_of(" \t");
      std::string where = message.line == 0 ? "" : "line " + std::to_string(message.line) + ": ";
      if (shaped.empty())
        return Outcome::Failed(where + "a \"cw:\" line must follow the message it identifies");
      if (first == std::string::npos)
        return Outcome::Failed(where + "a \"cw:\" line needs the text to send");
      // The identification follows every message the line before stands for.
      for (std::size_t i = lastLine; i < shaped.size(); ++i)
        shaped[i].identification = text.substr(first);
      continue;
    }
    lastLine = shaped.size();
    if (mode != modes::Mode::kWspr) {
      shaped.push_back(message);
      continue;
    }
    for (const std::string& text : WsprMessages(message.text))
      shaped.push_back({text, message.line, message.identification});
  }
  messages = std::move(shaped);
  return {};
}

}  // namespace qvcode

// The table of modes and the dispatch from a mode to its encoder.
#include "modes/mode.h"

#include <array>

#include "modes/bits.h"
#include "modes/ft-encoder.h"
#include "modes/jt65-channel.h"
#include "modes/jt65-encoder.h"
#include "modes/packed-message.h"

namespace modes {
namespace {

// JT65 keys at 11025/4096 baud; its submodes space the tones 1, 2 and 4 times that apart.
constexpr double kJt65Baud = 11025.0 / 4096.0;

constexpr std::array kModes = {
    ModeInfo{Mode::kJt65, "jt65", "ABC", 1 / kJt65Baud, kJt65Baud, 66, 6, 7, 60, 1.0},
    // FT8: 1920 and FT4: 576 samples a symbol at 12 kHz; FT4 starts with its ramp slot, one
    // symbol ahead of its first Costas tone at 0.5 s.
    ModeInfo{Mode::kFt8, "ft8", "A", 0.16, 6.25, 8, 3, 3, 15, 0.5},
    ModeInfo{Mode::kFt4, "ft4", "A", 0.048, 12000.0 / 576, 4, 2, 2, 7.5, 0.452},
};

// Sync (1) or data (0) for each of the 126 JT65 symbol periods.
constexpr std::string_view kJt65Sync =
    "100110001111110101000101100100011100111101101111000110101011001"
    "101010100100000011000000011010010110101010011001001000011111111";

void Jt65Tones(const jt65::ChannelSymbols& channel, bool ooo, std::vector<int>& tones) {
  // Data tone 0 lies two spacings above the sync tone; OOO swaps sync and data periods.
  std::size_t next = 0;
  for (char sync : kJt65Sync) {
    bool isSync = (sync == '1') != ooo;
    tones.push_back(isSync ? 0 : channel[next++] + 2);
  }
}

EncodeResult EncodeJt65(std::string_view text, Encoding& encoding) {
  jt65::Encoding jt65 = jt65::EncodeMessage(text);
  encoding.message = jt65.message;
  if (jt65.type == jt65::MessageType::kShorthand)
    return {false, "a shorthand message (RO, RRR, 73) is sent as two tones and has no channel symbols"};
  for (int symbol : jt65.data) AppendBits(encoding.sourceBits, std::uint64_t(symbol), 6);
  encoding.symbols.assign(jt65.channel.begin(), jt65.channel.end());
  Jt65Tones(jt65.channel, jt65.ooo, encoding.tones);
  encoding.decoded = jt65.decoded;
  return {true, {}};
}

std::string TrimRight(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

}  // namespace

std::span<const ModeInfo> AllModes() { return kModes; }

const ModeInfo* FindMode(std::string_view name) {
  for (const ModeInfo& info : kModes) {
    if (info.name.size() != name.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < name.size(); ++i)
      if (Upper(info.name[i]) != Upper(name[i])) same = false;
    if (same) return &info;
  }
  return nullptr;
}

const ModeInfo& InfoOf(Mode mode) {
  for (const ModeInfo& info : kModes)
    if (info.mode == mode) return info;
  return kModes[0];
}

double ToneSpacingHz(const ModeInfo& info, char submode) {
  std::size_t index = info.submodes.find(Upper(submode));
  if (index == std::string_view::npos) return 0;
  // JT65 doubles the spacing per submode letter.
  return info.baseToneSpacingHz * double(1 << index);
}

EncodeResult EncodeMessage(Mode mode, char submode, std::string_view text, Encoding& encoding) {
  const ModeInfo& info = InfoOf(mode);
  if (info.mode != mode) return {false, "this mode is not built yet"};
  encoding = Encoding{};
  encoding.mode = mode;
  encoding.submode = submode == 0 ? info.submodes[0] : Upper(submode);
  encoding.toneSpacingHz = ToneSpacingHz(info, encoding.submode);
  if (encoding.toneSpacingHz == 0)
    return {false, std::string("mode ") + std::string(info.name) + " has no submode " + submode};
  encoding.symbolPeriodSeconds = info.symbolPeriodSeconds;
  EncodeResult result{false, "this mode is not built yet"};
  if (mode == Mode::kJt65) result = EncodeJt65(text, encoding);
  if (mode == Mode::kFt8) result = ft::EncodeFt8(text, encoding);
  if (mode == Mode::kFt4) result = ft::EncodeFt4(text, encoding);
  encoding.decoded = TrimRight(encoding.decoded);
  return result;
}

}  // namespace modes

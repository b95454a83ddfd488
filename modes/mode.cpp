// The table of modes and the dispatch from a mode to its encoder.
#include "modes/mode.h"

#include <array>

#include "modes/bits.h"
#include "modes/fixed-text.h"
#include "modes/fst4-encoder.h"
#include "modes/ft-encoder.h"
#include "modes/jt4-encoder.h"
#include "modes/jt65-channel.h"
#include "modes/jt65-encoder.h"
#include "modes/jt72-message.h"
#include "modes/jt9-encoder.h"
#include "modes/message-format.h"
#include "modes/packed-message.h"
#include "modes/q65-encoder.h"
#include "modes/wspr-encoder.h"

namespace modes {
namespace {

// JT65 keys at 11025/4096 baud; its submodes space the tones 1, 2 and 4 times that apart.
constexpr double kJt65Baud = 11025.0 / 4096.0;
constexpr double kJt9Baud = 12000.0 / 6912.0;
constexpr double kJt4Baud = 11025.0 / 2520.0;
constexpr double kWsprBaud = 12000.0 / 8192.0;

// FST4 and FST4W key N samples a symbol at 12 kHz as their period has it; FST4-15 starts at 0.5 s.
constexpr ModePeriod kFst4Periods[] = {{15, 720, 0.5},     {30, 1680, 1.0},   {60, 3888, 1.0},
                                       {120, 8200, 1.0},   {300, 21504, 1.0}, {900, 66560, 1.0},
                                       {1800, 134400, 1.0}};
constexpr ModePeriod kFst4wPeriods[] = {
    {120, 8200, 1.0}, {300, 21504, 1.0}, {900, 66560, 1.0}, {1800, 134400, 1.0}};
constexpr ModePeriod kQ65Periods[] = {
    {15, 1800, 0.5}, {30, 3600, 0.5}, {60, 7200, 1.0}, {120, 16000, 1.0}, {300, 41472, 1.0}};

// Every mode spaces its tones one keying rate apart in submode A.
constexpr std::array kModes = {
    ModeInfo{Mode::kJt65, "jt65", "ABC", 1 / kJt65Baud, kJt65Baud, 66, 6, 7, 60, 1.0},
    ModeInfo{Mode::kJt9, "jt9", "A", 1 / kJt9Baud, kJt9Baud, 9, 3, 4, 60, 1.0},
    ModeInfo{Mode::kJt4, "jt4", "ABCDEFG", 1 / kJt4Baud, kJt4Baud, 4, 1, 2, 60, 1.0},
    // WSPR, FT8 and FT4 have no submodes: their one spacing goes with submode 0.
    ModeInfo{Mode::kWspr, "wspr", "", 1 / kWsprBaud, kWsprBaud, 4, 1, 2, 120, 1.0},
    // FT8: 1920 and FT4: 576 samples a symbol at 12 kHz; FT4 starts with its ramp slot, one
    // symbol ahead of its first Costas tone at 0.5 s.
    ModeInfo{Mode::kFt8, "ft8", "", 0.16, 6.25, 8, 3, 3, 15, 0.5},
    ModeInfo{Mode::kFt4, "ft4", "", 0.048, 12000.0 / 576, 4, 2, 2, 7.5, 0.452},
    // Their default period is the one of the row's own figures.
    ModeInfo{Mode::kFst4w, "fst4w", "", 8200 / 12000.0, 12000.0 / 8200, 4, 2, 2, 120, 1.0,
             kFst4wPeriods},
    ModeInfo{Mode::kFst4, "fst4", "", 3888 / 12000.0, 12000.0 / 3888, 4, 2, 2, 60, 1.0,
             kFst4Periods},
    ModeInfo{Mode::kQ65, "q65", "ABCDE", 7200 / 12000.0, 12000.0 / 7200, 65, 6, 7, 60, 1.0,
             kQ65Periods},
};

// The spacing of each JT4 submode in keying rates: not powers of two from D on.
constexpr std::array kJt4SpacingSteps = {1, 2, 4, 9, 18, 36, 72};

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

// The notes of the JT modes: what of the typed text a receiver will not see.
void NoteJtChanges(std::string_view text, const std::string& message, const std::string& decoded,
                   Encoding& encoding) {
  if (text.size() > jt65::kMessageLength && !jt65::TrimRight(text.substr(22)).empty())
    encoding.notes.push_back("cut to 22 characters: \"" + std::string(jt65::TrimRight(message)) +
                             "\"");
  if (jt65::TrimRight(decoded) != jt65::TrimRight(message))
    encoding.notes.push_back("sent as \"" + std::string(jt65::TrimRight(decoded)) + "\"");
}

EncodeResult EncodeJt65(std::string_view text, Encoding& encoding) {
  jt65::Encoding jt65 = jt65::EncodeMessage(text);
  encoding.message = jt65.message;
  if (jt65.type == jt65::MessageType::kShorthand)
    return {false,
            "a shorthand message (RO, RRR, 73) is sent as two tones and has no channel symbols"};
  for (int symbol : jt65.data) AppendBits(encoding.sourceBits, std::uint64_t(symbol), 6);
  encoding.symbols.assign(jt65.channel.begin(), jt65.channel.end());
  Jt65Tones(jt65.channel, jt65.ooo, encoding.tones);
  encoding.decoded = jt65.decoded;
  NoteJtChanges(text, jt65.message, jt65.decoded, encoding);
  return {true, {}};
}

// JT9 and JT4 send no OOO: a receiver tells nothing from it.
void NoteDroppedOoo(const Jt72Message& jt72, std::string_view mode, Encoding& encoding) {
  if (jt72.ooo) encoding.notes.push_back("OOO is not sent in " + std::string(mode) + ": dropped");
}

EncodeResult EncodeJt9(std::string_view text, Encoding& encoding) {
  Jt72Message jt72 = PrepareJt72Message(text, LeadingBlank::kDrop);
  encoding.message = jt72.message;
  if (jt72.shorthand)
    return {false, "a shorthand message (RO, RRR, 73) has no JT9 channel symbols"};
  CodeJt72Message(jt72);
  encoding.sourceBits = jt72.source;
  encoding.symbols = jt9::DataSymbols(jt72.interleaved);
  encoding.tones = jt9::Tones(encoding.symbols);
  // A JT9 receiver collapses the blanks that stand for characters outside the alphabet; JT4's
  // shows them.
  encoding.decoded = jt65::NormaliseMessage(jt72.decoded);
  NoteDroppedOoo(jt72, "JT9", encoding);
  NoteJtChanges(text, jt72.message, jt72.decoded, encoding);
  return {true, {}};
}

EncodeResult EncodeJt4(std::string_view text, Encoding& encoding) {
  Jt72Message jt72 = PrepareJt72Message(text, LeadingBlank::kKeep);
  encoding.message = jt72.message;
  CodeJt72Message(jt72);
  encoding.sourceBits = jt72.source;
  encoding.symbols.assign(jt72.interleaved.begin(), jt72.interleaved.end());
  encoding.tones = jt4::Tones(jt72.interleaved, jt4::InvertsSync(jt72.message));
  encoding.decoded = jt72.decoded;
  NoteDroppedOoo(jt72, "JT4", encoding);
  NoteJtChanges(text, jt72.message, jt72.decoded, encoding);
  return {true, {}};
}

EncodeResult EncodeWspr(std::string_view text, Encoding& encoding) {
  wspr::Encoding wspr = wspr::EncodeMessage(text);
  encoding.message = wspr.packing.message;
  encoding.notes = wspr.packing.notes;
  if (!wspr.packing.ok) return {false, wspr.packing.error};
  encoding.sourceBits = wspr.source;
  encoding.symbols.assign(wspr.data.begin(), wspr.data.end());
  encoding.tones = wspr.tones;
  encoding.decoded = wspr.decoded;
  return {true, {}};
}

char Upper(char c) {
  return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

}  // namespace

std::span<const ModeInfo> AllModes() {
  return kModes;
}

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
  if (info.submodes.empty()) return submode == 0 ? info.baseToneSpacingHz : 0;
  std::size_t index = info.submodes.find(Upper(submode));
  if (submode == 0 || index == std::string_view::npos) return 0;
  if (info.mode == Mode::kJt4) return info.baseToneSpacingHz * kJt4SpacingSteps[index];
  // JT65 and Q65 double the spacing per submode letter.
  return info.baseToneSpacingHz * double(1 << index);
}

const ModePeriod* FindPeriod(const ModeInfo& info, int seconds) {
  if (seconds == 0) seconds = int(info.periodSeconds);
  for (const ModePeriod& period : info.periods)
    if (period.seconds == seconds) return &period;
  return nullptr;
}

EncodeResult EncodeMessage(Mode mode, char submode, std::string_view text, Encoding& encoding) {
  return EncodeMessage(mode, submode, 0, text, encoding);
}

EncodeResult EncodeMessage(Mode mode, char submode, int periodSeconds, std::string_view text,
                           Encoding& encoding) {
  const ModeInfo& info = InfoOf(mode);
  if (info.mode != mode) return {false, "this mode is not built yet"};
  encoding = Encoding{};
  encoding.mode = mode;
  char defaultSubmode = info.submodes.empty() ? 0 : info.submodes[0];
  encoding.submode = submode == 0 ? defaultSubmode : Upper(submode);
  encoding.toneSpacingHz = ToneSpacingHz(info, encoding.submode);
  if (encoding.toneSpacingHz == 0) {
    if (info.submodes.empty())
      return {false, "mode " + std::string(info.name) + " has no submodes"};
    return {false, std::string("mode ") + std::string(info.name) + " has no submode " + submode};
  }
  encoding.symbolPeriodSeconds = info.symbolPeriodSeconds;
  encoding.periodSeconds = info.periodSeconds;
  if (periodSeconds != 0 && periodSeconds != info.periodSeconds) {
    const ModePeriod* period = FindPeriod(info, periodSeconds);
    if (period == nullptr) {
      std::string periods;
      for (const ModePeriod& known : info.periods)
        periods += (periods.empty() ? "" : ", ") + std::to_string(known.seconds);
      return {false, "mode " + std::string(info.name) + " has no period of " +
                         std::to_string(periodSeconds) + " s" +
                         (periods.empty() ? "" : " (periods: " + periods + ")")};
    }
    // A longer symbol keys the tones closer together.
    double symbolSeconds = period->samplesPerSymbol / 12000.0;
    encoding.toneSpacingHz *= info.symbolPeriodSeconds / symbolSeconds;
    encoding.symbolPeriodSeconds = symbolSeconds;
    encoding.periodSeconds = period->seconds;
  }
  EncodeResult result{false, "this mode is not built yet"};
  if (mode == Mode::kJt65) result = EncodeJt65(text, encoding);
  if (mode == Mode::kJt9) result = EncodeJt9(text, encoding);
  if (mode == Mode::kJt4) result = EncodeJt4(text, encoding);
  if (mode == Mode::kWspr) result = EncodeWspr(text, encoding);
  if (mode == Mode::kFt8) result = ft::EncodeFt8(text, encoding);
  if (mode == Mode::kFt4) result = ft::EncodeFt4(text, encoding);
  if (mode == Mode::kFst4w) result = fst4::EncodeFst4w(text, encoding);
  if (mode == Mode::kFst4) result = fst4::EncodeFst4(text, encoding);
  if (mode == Mode::kQ65) result = q65::EncodeQ65(text, encoding);
  encoding.decoded = std::string(jt65::TrimRight(encoding.decoded));
  // A receiver would show nothing: no mode sends an empty message.
  if (result.ok && encoding.decoded.empty()) {
    if (text.find_first_not_of(' ') == std::string_view::npos)
      return {false, "the message is empty"};
    return {false, "nothing of \"" + std::string(text) + "\" can be sent in " +
                       std::string(info.name) +
                       ": none of its characters is in the mode's alphabet"};
  }
  return result;
}

}  // namespace modes

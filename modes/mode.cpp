// The table of modes, one row a mode holding every fact about it, and the dispatch from a mode to
// its encode entry. The JT modes and WSPR are encoded by the encoder core; here their words.
#include "modes/mode.h"

#include <array>

#include "common/ascii.h"
#include "modes/bits.h"
#include "modes/core/jt/qvj-jt4.h"
#include "modes/core/jt/qvj-jt9.h"
#include "modes/fixed-text.h"
#include "modes/fst4-encoder.h"
#include "modes/ft-encoder.h"
#include "modes/jt65-encoder.h"
#include "modes/jt72-message.h"
#include "modes/message-format.h"
#include "modes/mode-table.h"
#include "modes/packed-message.h"
#include "modes/q65-encoder.h"
#include "modes/wspr-encoder.h"

namespace modes {
namespace {

// The notes of the JT modes: what of the typed text a receiver will not see.
void NoteJtChanges(std::uint32_t changes, const std::string& message, const std::string& decoded,
                   Encoding& encoding) {
  if (changes & QVC_CHANGED_CUT)
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
  encoding.tones.assign(jt65.tones.begin(), jt65.tones.end());
  encoding.decoded = jt65.decoded;
  NoteJtChanges(jt65.changes, jt65.message, jt65.decoded, encoding);
  return {true, {}};
}

// JT9 and JT4 send no OOO: a receiver tells nothing from it.
void NoteDroppedOoo(const qvc_report& report, std::string_view mode, Encoding& encoding) {
  if (report.changes & QVJ_CHANGED_OOO_DROPPED)
    encoding.notes.push_back("OOO is not sent in " + std::string(mode) + ": dropped");
}

// What the 72 source bits of a JT9 or JT4 message unpack to, 22 characters.
std::string DecodedJt72(const Encoding& encoding) {
  return jt65::UnpackMessage(FromJt72Bits(encoding.sourceBits));
}

EncodeResult EncodeJt9(std::string_view text, Encoding& encoding) {
  qvj_message core{};
  qvc_report report{};
  std::uint8_t symbols[QVJ_JT9_SYMBOLS];
  std::uint8_t tones[QVJ_JT9_TONES];
  qvj_jt9_encode(std::string(text).c_str(), &core, symbols, tones, &report);
  encoding.message = std::string(core.text, jt65::kMessageLength);
  if (report.status == QVJ_SHORTHAND)
    return {false, "a shorthand message (RO, RRR, 73) has no JT9 channel symbols"};
  encoding.sourceBits = UnpackedBits(core.source, 72);
  encoding.symbols.assign(symbols, symbols + QVJ_JT9_SYMBOLS);
  encoding.tones.assign(tones, tones + QVJ_JT9_TONES);
  // A JT9 receiver collapses the blanks that stand for characters outside the alphabet; JT4's
  // shows them.
  std::string decoded = DecodedJt72(encoding);
  encoding.decoded = jt65::NormaliseMessage(decoded);
  NoteDroppedOoo(report, "JT9", encoding);
  NoteJtChanges(report.changes, encoding.message, decoded, encoding);
  return {true, {}};
}

EncodeResult EncodeJt4(std::string_view text, Encoding& encoding) {
  qvj_message core{};
  qvc_report report{};
  std::uint8_t symbols[QVJ_JT4_TONES];
  std::uint8_t tones[QVJ_JT4_TONES];
  qvj_jt4_encode(std::string(text).c_str(), &core, symbols, tones, &report);
  encoding.message = std::string(core.text, jt65::kMessageLength);
  encoding.sourceBits = UnpackedBits(core.source, 72);
  encoding.symbols.assign(symbols, symbols + QVJ_JT4_TONES);
  encoding.tones.assign(tones, tones + QVJ_JT4_TONES);
  encoding.decoded = DecodedJt72(encoding);
  NoteDroppedOoo(report, "JT4", encoding);
  NoteJtChanges(report.changes, encoding.message, encoding.decoded, encoding);
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

// JT65 keys at 11025/4096 baud, JT9 at 12000/6912, JT4 at 11025/2520 and WSPR at 12000/8192;
// each spaces its tones one keying rate apart in submode A.
constexpr double kJt65Baud = 11025.0 / 4096.0;
constexpr double kJt9Baud = 12000.0 / 6912.0;
constexpr double kJt4Baud = 11025.0 / 2520.0;
constexpr double kWsprBaud = 12000.0 / 8192.0;

// FST4, FST4W and Q65 key N samples a symbol at 12 kHz as their period has it; FST4-15, Q65-15
// and Q65-30 start at 0.5 s.
constexpr ModePeriod kFst4Periods[] = {{15, 720, 0.5},     {30, 1680, 1.0},   {60, 3888, 1.0},
                                       {120, 8200, 1.0},   {300, 21504, 1.0}, {900, 66560, 1.0},
                                       {1800, 134400, 1.0}};
constexpr ModePeriod kFst4wPeriods[] = {
    {120, 8200, 1.0}, {300, 21504, 1.0}, {900, 66560, 1.0}, {1800, 134400, 1.0}};
constexpr ModePeriod kQ65Periods[] = {
    {15, 1800, 0.5}, {30, 3600, 0.5}, {60, 7200, 1.0}, {120, 16000, 1.0}, {300, 41472, 1.0}};

// Every mode, in the order of the Mode enumeration.
constexpr std::array kRows = {
    ModeRow{.info = {.mode = Mode::kJt65,
                     .name = "jt65",
                     .submodes = "ABC",
                     .symbolPeriodSeconds = 1 / kJt65Baud,
                     .baseToneSpacingHz = kJt65Baud,
                     .toneCount = 66,
                     .symbolBits = 6,
                     .toneBits = 7,
                     .periodSeconds = 60,
                     .startSeconds = 1.0},
            .encode = EncodeJt65,
            // The submodes double the spacing per letter.
            .spacingSteps = {1, 2, 4}},
    ModeRow{.info = {.mode = Mode::kJt9,
                     .name = "jt9",
                     .submodes = "A",
                     .symbolPeriodSeconds = 1 / kJt9Baud,
                     .baseToneSpacingHz = kJt9Baud,
                     .toneCount = 9,
                     .symbolBits = 3,
                     .toneBits = 4,
                     .periodSeconds = 60,
                     .startSeconds = 1.0},
            .encode = EncodeJt9},
    ModeRow{.info = {.mode = Mode::kJt4,
                     .name = "jt4",
                     .submodes = "ABCDEFG",
                     .symbolPeriodSeconds = 1 / kJt4Baud,
                     .baseToneSpacingHz = kJt4Baud,
                     .toneCount = 4,
                     .symbolBits = 1,
                     .toneBits = 2,
                     .periodSeconds = 60,
                     .startSeconds = 1.0},
            .encode = EncodeJt4,
            // Not powers of two from D on.
            .spacingSteps = {1, 2, 4, 9, 18, 36, 72}},
    // WSPR, FT8 and FT4 have no submodes: their one spacing goes with submode 0.
    ModeRow{.info = {.mode = Mode::kWspr,
                     .name = "wspr",
                     .submodes = "",
                     .symbolPeriodSeconds = 1 / kWsprBaud,
                     .baseToneSpacingHz = kWsprBaud,
                     .toneCount = 4,
                     .symbolBits = 1,
                     .toneBits = 2,
                     .periodSeconds = 120,
                     .startSeconds = 1.0},
            .encode = EncodeWspr,
            // The base frequency is the centre of the four tones.
            .keying = {.firstToneOffset = -1.5}},
    // FT8: 1920 and FT4: 576 samples a symbol at 12 kHz; FT4 starts with its ramp slot, one
    // symbol ahead of its first Costas tone at 0.5 s.
    ModeRow{.info = {.mode = Mode::kFt8,
                     .name = "ft8",
                     .submodes = "",
                     .symbolPeriodSeconds = 0.16,
                     .baseToneSpacingHz = 6.25,
                     .toneCount = 8,
                     .symbolBits = 3,
                     .toneBits = 3,
                     .periodSeconds = 15,
                     .startSeconds = 0.5},
            .encode = ft::EncodeFt8,
            .keying = {.bandwidthTime = 2.0, .carryEndTones = true, .edgeSamples = 240}},
    ModeRow{.info = {.mode = Mode::kFt4,
                     .name = "ft4",
                     .submodes = "",
                     .symbolPeriodSeconds = 0.048,
                     .baseToneSpacingHz = 12000.0 / 576,
                     .toneCount = 4,
                     .symbolBits = 2,
                     .toneBits = 2,
                     .periodSeconds = 7.5,
                     .startSeconds = 0.452},
            .encode = ft::EncodeFt4,
            // Its sequence starts and ends with a ramp slot at tone 0, faded in and out whole.
            .keying = {.bandwidthTime = 1.0, .edgeSamples = 576}},
    // FST4W, FST4 and Q65: the figures of their default period (FST4W-120, FST4-60, Q65-60A); the
    // spacing is the keying rate of the period (Q65: times 2, 4, 8, 16 for B-E).
    ModeRow{.info = {.mode = Mode::kFst4w,
                     .name = "fst4w",
                     .submodes = "",
                     .symbolPeriodSeconds = 8200 / 12000.0,
                     .baseToneSpacingHz = 12000.0 / 8200,
                     .toneCount = 4,
                     .symbolBits = 2,
                     .toneBits = 2,
                     .periodSeconds = 120,
                     .startSeconds = 1.0,
                     .periods = kFst4wPeriods},
            .encode = fst4::EncodeFst4w,
            // Edges of a quarter symbol.
            .keying = {.bandwidthTime = 2.0, .edgeSymbols = 0.25}},
    ModeRow{.info = {.mode = Mode::kFst4,
                     .name = "fst4",
                     .submodes = "",
                     .symbolPeriodSeconds = 3888 / 12000.0,
                     .baseToneSpacingHz = 12000.0 / 3888,
                     .toneCount = 4,
                     .symbolBits = 2,
                     .toneBits = 2,
                     .periodSeconds = 60,
                     .startSeconds = 1.0,
                     .periods = kFst4Periods},
            .encode = fst4::EncodeFst4,
            .keying = {.bandwidthTime = 2.0, .edgeSymbols = 0.25}},
    ModeRow{.info = {.mode = Mode::kQ65,
                     .name = "q65",
                     .submodes = "ABCDE",
                     .symbolPeriodSeconds = 7200 / 12000.0,
                     .baseToneSpacingHz = 12000.0 / 7200,
                     .toneCount = 65,
                     .symbolBits = 6,
                     .toneBits = 7,
                     .periodSeconds = 60,
                     .startSeconds = 1.0,
                     .periods = kQ65Periods},
            .encode = q65::EncodeQ65,
            .spacingSteps = {1, 2, 4, 8, 16}},
};

// The ModeInfo part of every row, in one array for AllModes.
const std::array<ModeInfo, kRows.size()>& Infos() {
  static const std::array<ModeInfo, kRows.size()> infos = [] {
    std::array<ModeInfo, kRows.size()> all{};
    for (std::size_t i = 0; i < kRows.size(); ++i) all[i] = kRows[i].info;
    return all;
  }();
  return infos;
}

// What InfoOf gives for a value that is no mode: no name, no tones.
constexpr ModeInfo kUnknownMode{.mode = static_cast<Mode>(-1),
                                .name = "",
                                .submodes = "",
                                .symbolPeriodSeconds = 0,
                                .baseToneSpacingHz = 0,
                                .toneCount = 0,
                                .symbolBits = 0,
                                .toneBits = 0,
                                .periodSeconds = 0,
                                .startSeconds = 0};

}  // namespace

const ModeRow* RowOf(Mode mode) {
  for (const ModeRow& row : kRows)
    if (row.info.mode == mode) return &row;
  return nullptr;
}

std::span<const ModeInfo> AllModes() {
  return Infos();
}

const ModeInfo* FindMode(std::string_view name) {
  for (const ModeInfo& info : Infos())
    if (ascii::EqualIgnoringCase(info.name, name)) return &info;
  return nullptr;
}

const ModeInfo& InfoOf(Mode mode) {
  for (const ModeInfo& info : Infos())
    if (info.mode == mode) return info;
  return kUnknownMode;
}

double ToneSpacingHz(const ModeInfo& info, char submode) {
  const ModeRow* row = RowOf(info.mode);
  if (row == nullptr) return 0;
  if (info.submodes.empty()) return submode == 0 ? info.baseToneSpacingHz : 0;
  std::size_t index = info.submodes.find(ascii::Upper(submode));
  if (submode == 0 || index == std::string_view::npos) return 0;
  return info.baseToneSpacingHz * row->spacingSteps[index];
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
  const ModeRow* row = RowOf(mode);
  if (row == nullptr) return {false, "there is no such mode"};
  const ModeInfo& info = row->info;
  encoding = Encoding{};
  encoding.mode = mode;
  // The encoders read text up to a NUL byte: a message holding one would go out cut, unsaid.
  if (text.find('\0') != std::string_view::npos)
    return {false, "the message holds a NUL byte, which no mode sends"};
  char defaultSubmode = info.submodes.empty() ? 0 : info.submodes[0];
  encoding.submode = submode == 0 ? defaultSubmode : ascii::Upper(submode);
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
      std::string periods = ascii::JoinNames(
          info.periods, [](const ModePeriod& known) { return std::to_string(known.seconds); });
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
  EncodeResult result = row->encode(text, encoding);
  encoding.decoded = std::string(jt65::TrimRight(encoding.decoded));
  // A receiver would show nothing: no mode sends an empty message.
  if (result.ok && encoding.decoded.empty()) {
    encoding.sourceBits.clear();
    encoding.symbols.clear();
    encoding.tones.clear();
    if (text.find_first_not_of(' ') == std::string_view::npos)
      return {false, "the message is empty"};
    return {false, "nothing of \"" + std::string(text) + "\" can be sent in " +
                       std::string(info.name) +
                       ": none of its characters is in the mode's alphabet"};
  }
  return result;
}

}  // namespace modes

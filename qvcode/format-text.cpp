// The plain formats for scripts: a list of numbers, a line a message (then a synthesiser's rows
// and Morse identifications), and JSON.
#include <cstdio>

#include "platform/unicode.h"
#include "qvcode/formats.h"

namespace qvcode {
namespace {

// A JSON string, always valid UTF-8: control characters escaped, and a byte that is no part of
// valid UTF-8 written as the character of its value (\u00HH), so no reader meets broken text.
std::string JsonText(std::string_view text) {
  std::string out = "\"";
  while (!text.empty()) {
    pf::unicode::Utf8Sequence next = pf::unicode::DecodeUtf8(text);
    bool character = next.kind == pf::unicode::Utf8Sequence::kCharacter;
    char32_t code = character ? next.code : static_cast<unsigned char>(text[0]);
    std::size_t length = character ? next.length : 1;
    if (code == '"' || code == '\\') {
      out += '\\';
      out += char(code);
    } else if (!character || code < 0x20 || (code >= 0x7F && code <= 0x9F)) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(code));
      out += escaped;
    } else {
      out += text.substr(0, length);
    }
    text.remove_prefix(length);
  }
  return out + "\"";
}

std::string JsonTexts(const std::vector<std::string>& texts) {
  std::string out = "[";
  for (std::size_t i = 0; i < texts.size(); ++i) out += (i == 0 ? "" : ", ") + JsonText(texts[i]);
  return out + "]";
}

template <typename Number>
std::string JsonNumbers(const std::vector<Number>& numbers) {
  std::string out = "[";
  for (std::size_t i = 0; i < numbers.size(); ++i)
    out += (i == 0 ? "" : ",") + std::to_string(numbers[i]);
  return out + "]";
}

std::string JsonReal(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", value);
  return text;
}

// A frequency to the millihertz.
std::string JsonHz(double hz) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", hz);
  return text;
}

// A message object's keys for the synthesiser's rows and its identification.
std::string JsonBeacon(const Run& run, std::size_t index) {
  std::string out;
  if (run.tuning) {
    const Tuning& tuning = *run.tuning;
    out += ",\n   \"synthesiser\": {\"chip\": " + JsonText(tuning.chip->name) +
           ", \"clockHz\": " + JsonHz(tuning.clockHz) +
           ", \"toleranceHz\": " + JsonHz(tuning.toleranceHz) + ", \"bands\": [";
    for (std::size_t b = 0; b < tuning.bands.size(); ++b) {
      const BandTuning& band = tuning.bands[b];
      out += (b == 0 ? "" : ",") + std::string("\n     {\"dialHz\": ") + JsonHz(band.dialHz) +
             ", \"plan\": " + JsonText(band.plan) +
             ", \"spacingErrorHz\": " + JsonHz(band.spacingErrorHz) +
             ", \"setup\": " + JsonNumbers(band.setup) + ", \"tones\": [";
      for (std::size_t t = 0; t < band.tones.size(); ++t) {
        const ToneTuning& tone = band.tones[t];
        out += (t == 0 ? "" : ",") + std::string("\n       {\"tone\": ") +
               std::to_string(tone.tone) + ", \"wantedHz\": " + JsonHz(tone.wantedHz) +
               ", \"madeHz\": " + JsonHz(tone.madeHz) +
               ", \"errorHz\": " + JsonHz(tone.madeHz - tone.wantedHz) +
               ", \"bytes\": " + JsonNumbers(tone.bytes) + "}";
      }
      out += "]}";
    }
    out += "]}";
  }
  if (!run.identificationAfter.empty() && run.identificationAfter[index] != 0) {
    const Identification& id = run.identifications[std::size_t(run.identificationAfter[index] - 1)];
    out += ",\n   \"identification\": {\"text\": " + JsonText(id.text) +
           ", \"dotSeconds\": " + JsonReal(run.morse.dotSeconds) +
           ", \"durations\": " + JsonNumbers(id.durations) + "}";
  }
  return out;
}

}  // namespace

std::string WriteList(const Run& run) {
  std::string out;
  for (const Table& table : run.tables) {
    for (std::size_t i = 0; i < table.bytes.size(); ++i)
      out += (i == 0 ? "" : " ") + std::to_string(table.bytes[i]);
    out += "\n";
  }
  // Then a line a tone of each band: band, tone, made Hz, error Hz, the row's bytes; and a line an
  // identification: its number, then its durations.
  if (run.tuning) {
    for (std::size_t b = 0; b < run.tuning->bands.size(); ++b) {
      for (const ToneTuning& tone : run.tuning->bands[b].tones) {
        char text[96];
        std::snprintf(text, sizeof text, " %d %.3f %+.3f", tone.tone, tone.madeHz,
                      tone.madeHz - tone.wantedHz);
        out += std::to_string(b + 1) + text;
        for (std::uint8_t byte : tone.bytes) out += " " + std::to_string(byte);
        out += "\n";
      }
    }
  }
  for (std::size_t i = 0; i < run.identifications.size(); ++i) {
    out += std::to_string(i + 1);
    for (std::uint8_t duration : run.identifications[i].durations)
      out += " " + std::to_string(duration);
    out += "\n";
  }
  return out;
}

std::string WriteJson(const Run& run) {
  std::string out = "[";
  for (std::size_t i = 0; i < run.tables.size(); ++i) {
    const Table& table = run.tables[i];
    const modes::Encoding& encoding = table.encoding;
    out += i == 0 ? "\n" : ",\n";
    out += "  {\"mode\": " + JsonText(run.mode->name) + ", \"submode\": " +
           JsonText(encoding.submode == 0 ? "" : std::string(1, encoding.submode)) + ",\n";
    out += "   \"message\": " + JsonText(table.source.text) +
           ", \"encoded\": " + JsonText(encoding.message) +
           ", \"decoded\": " + JsonText(encoding.decoded) + ",\n";
    out += "   \"notes\": " + JsonTexts(encoding.notes) + ",\n";
    out += "   \"symbolPeriodSeconds\": " + JsonReal(encoding.symbolPeriodSeconds) +
           ", \"toneSpacingHz\": " + JsonReal(encoding.toneSpacingHz) + ",\n";
    out += "   \"symbols\": " + JsonNumbers(encoding.symbols) + ",\n";
    out += "   \"tones\": " + JsonNumbers(encoding.tones);
    if (run.packed) {
      out += ",\n   \"packedBits\": " + std::to_string(run.valueBits) +
             ", \"packed\": " + JsonNumbers(table.bytes);
    }
    out += JsonBeacon(run, i) + "}";
  }
  return out + "\n]\n";
}

}  // namespace qvcode

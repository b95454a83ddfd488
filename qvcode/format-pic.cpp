// The PIC assembler formats: "de" lines for the data EEPROM, laid out as the generator writes its
// include file, and a "dt" (RETLW) table in program memory with a label per message.
#include <cstdio>

#include "common/ascii.h"
#include "qvcode/formats.h"

namespace qvcode {
namespace {

// Lines end with LF here; the format row makes them CR LF, as the generator's include file has.
constexpr std::string_view kLineEnd = "\n";
constexpr std::size_t kEntriesPerLine = 8;

std::string Entry(int value) {
  std::string digits = std::to_string(value);
  return " d'" + (digits.size() < 2 ? "0" + digits : digits) + "'";
}

// Lines of entries, eight to a line, each line starting with lineStart after a line end.
std::string DataLines(const std::vector<std::uint8_t>& bytes, std::string_view lineStart) {
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i % kEntriesPerLine == 0) {
      out += kLineEnd;
      out += lineStart;
    } else {
      out += ",";
    }
    out += Entry(bytes[i]);
  }
  return out + std::string(kLineEnd);
}

std::string Comment(std::string_view start, std::string_view text) {
  return std::string(start) + std::string(text) + std::string(kLineEnd);
}

std::string Physical(const Run& run) {
  char text[96];
  const modes::Encoding& first = run.tables.front().encoding;
  std::snprintf(text, sizeof text, "symbol period %.6f s, tone spacing %.6f Hz",
                first.symbolPeriodSeconds, first.toneSpacingHz);
  return text;
}

std::string BandLine(const Tuning& tuning, const BandTuning& band) {
  char text[200];
  std::snprintf(text, sizeof text, "%s dial %.3f Hz, clock %.0f Hz: %s",
                std::string(tuning.chip->display).c_str(), band.dialHz, tuning.clockHz,
                band.plan.c_str());
  return text;
}

// The synthesiser's rows and the identifications after the messages, as de lines or, with a
// label per block, as dt tables: `start` begins an entry line, `comment` a comment line.
std::string BeaconLines(const Run& run, bool labels) {
  std::string out;
  std::string_view lineStart = labels ? "        dt  " : "    de  ";
  std::string_view comment = labels ? "; " : "    ;   ";
  if (run.tuning) {
    const Tuning& tuning = *run.tuning;
    for (std::size_t b = 0; b < tuning.bands.size(); ++b) {
      const BandTuning& band = tuning.bands[b];
      std::string number = std::to_string(b + 1);
      out += kLineEnd;
      out += Comment(comment, BandLine(tuning, band));
      if (!band.setup.empty()) {
        if (labels) out += run.name + "_SETUP_" + number;
        out += Comment(labels ? "  ; " : comment, "setup, written once before the first row");
        out += DataLines(band.setup, lineStart).substr(kLineEnd.size());
      }
      if (labels)
        out += run.name + "_TUNING_" + number + "  ; rows of " +
               std::to_string(tuning.chip->rowBytes) + " entries, tone 0 first" +
               std::string(kLineEnd);
      for (const ToneTuning& tone : band.tones) {
        out += Comment(comment, ToneText(tone));
        out += DataLines(tone.bytes, lineStart).substr(kLineEnd.size());
      }
    }
  }
  if (!run.identifications.empty()) {
    out += kLineEnd;
    out +=
        Comment(comment, "Morse identifications: durations in dot units, key down first, 0 ends");
    for (std::size_t i = 0; i < run.identifications.size(); ++i) {
      std::vector<std::uint8_t> row = run.identifications[i].durations;
      row.resize(IdentificationLength(run), 0);
      if (labels) out += run.name + "_CW_" + std::to_string(i + 1);
      out += Comment(labels ? "  ; " : comment, run.identifications[i].text);
      out += DataLines(row, lineStart).substr(kLineEnd.size());
    }
    std::vector<std::uint8_t> after(run.identificationAfter.begin(), run.identificationAfter.end());
    if (labels) out += run.name + "_CW_AFTER";
    out += Comment(labels ? "  ; " : comment, "identification (from 1) after each message, 0 none");
    out += DataLines(after, lineStart).substr(kLineEnd.size());
  }
  return out;
}

}  // namespace

std::string WriteDe(const Run& run) {
  std::string out;
  // Unpacked tables carry no heading, so that they read exactly like the generator's file.
  if (run.packed) {
    out += Comment("    ;   ", Describe(run) + ", " + Physical(run));
    for (const std::string& line : PackingRule(run)) out += Comment("    ;   ", line);
  }
  for (const Table& table : run.tables) {
    out += DataLines(table.bytes, "    de  ");
    out += Comment("    ;    ", ascii::UpperCase(table.encoding.decoded));
  }
  return out + BeaconLines(run, false);
}

std::string WriteDt(const Run& run) {
  std::string out;
  out += Comment(
      "; ", Describe(run) + ", " + std::to_string(BytesPerTable(run)) + " RETLW entries per message");
  out += Comment("; ", Physical(run));
  for (const std::string& line : PackingRule(run)) out += Comment("; ", line);
  out += Comment("; ", "Entry n of a table: call the label's address plus n (PCLATH set to its");
  out += Comment("; ", "high byte, PCL to its low byte); the RETLW there returns the entry in W.");
  for (std::size_t i = 0; i < run.tables.size(); ++i) {
    const Table& table = run.tables[i];
    out += kLineEnd;
    out += TableName(run, i) + "  ; " + ascii::UpperCase(table.encoding.decoded);
    out += DataLines(table.bytes, "        dt  ");
  }
  return out + BeaconLines(run, true);
}

}  // namespace qvcode

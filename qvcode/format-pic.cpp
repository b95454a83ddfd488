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
  return out;
}

std::string WriteDt(const Run& run) {
  std::string out;
  out += Comment(
      "; ", Describe(run) + ", " + std::to_string(BytesPerTable(run)) + " RETLW entries a message");
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
  return out;
}

}  // namespace qvcode

// The C header format: the tables as const unsigned char arrays for XC8, sdcc or avr-gcc, with an
// include guard, the decoded messages and the mode's timing as constants; PROGMEM for AVR.
#include <cmath>
#include <cstdio>

#include "qvcode/formats.h"

namespace qvcode {
namespace {

constexpr std::size_t kValuesPerLine = 12;

std::string Define(const std::string& name, const std::string& value, std::string_view comment) {
  return "#define " + name + " " + value + "  /* " + std::string(comment) + " */\n";
}

std::string Row(const std::vector<std::uint8_t>& bytes, std::string_view indent) {
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i % kValuesPerLine == 0) out += "\n" + std::string(indent);
    out += std::to_string(bytes[i]);
    if (i + 1 < bytes.size()) out += i % kValuesPerLine == kValuesPerLine - 1 ? "," : ", ";
  }
  return out;
}

}  // namespace

std::string WriteC(const Run& run) {
  const modes::Encoding& first = run.tables.front().encoding;
  const std::string& name = run.name;
  std::string guard = name + "_H";
  char physical[96];
  std::snprintf(physical, sizeof physical, "Symbol period %.6f s, tone spacing %.6f Hz.",
                first.symbolPeriodSeconds, first.toneSpacingHz);

  std::string out = "/* " + Describe(run) + ", written by qvcode.\n * " + physical + "\n";
  for (const std::string& line : PackingRule(run)) out += " * " + line + "\n";
  out += " */\n#ifndef " + guard + "\n#define " + guard + "\n\n";
  if (run.progmem) out += "#include <avr/pgmspace.h>\n\n";
  // Every C file of a firmware built with GNU C (avr-gcc, arm-none-eabi-gcc) may include the
  // header: the linker keeps one copy of the weak tables. C++ gives const tables internal linkage
  // by itself.
  out +=
      "#ifndef QVCODE_TABLE\n"
      "#if defined(__GNUC__) && !defined(__cplusplus)\n"
      "#define QVCODE_TABLE __attribute__((weak)) const unsigned char\n"
      "#else\n"
      "#define QVCODE_TABLE const unsigned char\n"
      "#endif\n"
      "#endif\n\n";

  std::size_t length = BytesPerTable(run);
  out += Define(name + "_MESSAGES", std::to_string(run.tables.size()), "messages in the table");
  out += Define(name + "_LENGTH", std::to_string(length), "bytes a message");
  out += Define(name + "_VALUES", std::to_string(run.tables.front().values.size()),
                "symbols or tones a message");
  if (run.packed)
    out += Define(name + "_BITS", std::to_string(run.valueBits), "bits a value, packed");
  out += Define(name + "_SYMBOL_PERIOD_US",
                std::to_string(std::lround(first.symbolPeriodSeconds * 1e6)) + "UL",
                "one symbol, microseconds");
  out += Define(name + "_TONE_SPACING_MILLIHZ",
                std::to_string(std::lround(first.toneSpacingHz * 1e3)) + "UL",
                "between neighbouring tones, millihertz");
  out += "\n";

  std::string placement = run.progmem ? " PROGMEM" : "";
  if (run.tables.size() == 1) {
    out += "/* " + first.decoded + " */\n";
    out += "QVCODE_TABLE " + name + "[" + std::to_string(length) + "]" + placement + " = {";
    out += Row(run.tables.front().bytes, "    ") + "\n};\n";
  } else {
    out += "QVCODE_TABLE " + name + "[" + std::to_string(run.tables.size()) + "][" +
           std::to_string(length) + "]" + placement + " = {\n";
    for (const Table& table : run.tables) {
      out += "    /* " + table.encoding.decoded + " */\n    {";
      out += Row(table.bytes, "        ") + "},\n";
    }
    out += "};\n";
  }
  return out + "\n#endif /* " + guard + " */\n";
}

}  // namespace qvcode

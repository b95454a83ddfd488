// The C header format: the tables as const unsigned char arrays for XC8, sdcc or avr-gcc, with an
// include guard, the decoded messages and the mode's timing as constants; PROGMEM for AVR.
#include <cmath>
#include <cstdio>

#include "common/ascii.h"
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

std::string Hex(unsigned value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%02X", value);
  return text;
}

// The synthesiser's setup and rows: arrays over bands, then tones, then the row's bytes.
std::string TuningC(const Run& run, const Tuning& tuning) {
  const std::string& name = run.name;
  const Synthesiser& chip = *tuning.chip;
  std::string chipName(chip.display);
  std::string upper = ascii::UpperCase(chip.name);
  std::string placement = run.progmem ? " PROGMEM" : "";
  std::string out = "\n/* " + chipName + " tuning for each tone of the mode, clock " +
                    HzText(tuning.clockHz) + "; a tone's distance from tone 0 is\n * kept within " +
                    HzText(tuning.toleranceHz) + ". Index NAME_TUNING[band] with the tone table.\n";
  for (const BandTuning& band : tuning.bands)
    out += " * Dial " + HzText(band.dialHz) + ": " + band.plan + "; spacing error at most " +
           HzText(band.spacingErrorHz) + ".\n";
  out += " */\n";
  out += Define(name + "_SYNTH_" + upper, "1", "the chip these rows are for");
  out += Define(name + "_BANDS", std::to_string(tuning.bands.size()), "dials in the tables");
  out += Define(name + "_TUNING_TONES", std::to_string(tuning.bands.front().tones.size()),
                "rows per band, one per tone");
  out += Define(name + "_TUNING_BYTES", std::to_string(chip.rowBytes), "bytes per row");
  out += Define(name + "_SETUP_BYTES", std::to_string(chip.setupBytes),
                "bytes written once per band, before the first row");
  out += Define(name + "_CLOCK_HZ", std::to_string(std::llround(tuning.clockHz)) + "UL",
                "the clock the rows are made for");
  if (chip.name == "si5351") {
    const std::string p = name + "_SI5351_";
    out += Define(p + "ADDRESS", "0x60", "7-bit I2C address");
    out += Define(p + "TUNING_REGISTER", "26", "a row goes to 26-33: PLL A feedback");
    out += Define(p + "SETUP_REGISTER", "42", "setup goes to 42-49: MultiSynth 0, R0 in 44");
    out += Define(p + "CLK_CONTROL_REGISTER", "16", "CLK0 control");
    out += Define(p + "CLK_CONTROL", "0x4F", "CLK0 on, integer MultiSynth 0 from PLL A, 8 mA");
    out += Define(p + "PLL_RESET_REGISTER", "177", "PLL reset");
    out += Define(p + "PLL_RESET", "0x20", "reset PLL A once, after setup and the first row");
    out += Define(p + "OUTPUT_ENABLE_REGISTER", "3", "output enable, a bit a clock, low on");
    out += Define(p + "OUTPUT_ENABLE", "0xFE", "CLK0 on; 0xFF all off (key up)");
  }
  if (chip.name == "ad9833")
    out += Define(name + "_AD9833_RUN", "0x2000", "control word after the first row: B28, run");
  if (chip.name == "ad9833")
    out += Define(name + "_AD9833_SLEEP", "0x20C0", "control word: B28, DAC and clock asleep");
  out += "\n";

  out += "const unsigned long " + name + "_DIAL_HZ[" + name + "_BANDS]" + placement + " = {";
  for (std::size_t b = 0; b < tuning.bands.size(); ++b)
    out += (b == 0 ? "" : ", ") + std::to_string(std::llround(tuning.bands[b].dialHz)) + "UL";
  out += "};\n";
  if (chip.setupBytes > 0) {
    out += "const unsigned char " + name + "_SETUP[" + name + "_BANDS][" + name + "_SETUP_BYTES]" +
           placement + " = {\n";
    for (const BandTuning& band : tuning.bands) {
      std::string bytes;
      for (std::uint8_t byte : band.setup) bytes += (bytes.empty() ? "" : ", ") + Hex(byte);
      out += "    {" + bytes + "},  /* dial " + HzText(band.dialHz) + " */\n";
    }
    out += "};\n";
  }
  out += "const unsigned char " + name + "_TUNING[" + name + "_BANDS][" + name + "_TUNING_TONES][" +
         name + "_TUNING_BYTES]" + placement + " = {\n";
  for (const BandTuning& band : tuning.bands) {
    out += "    {   /* dial " + HzText(band.dialHz) + " */\n";
    for (const ToneTuning& tone : band.tones) {
      std::string bytes;
      for (std::uint8_t byte : tone.bytes) bytes += (bytes.empty() ? "" : ", ") + Hex(byte);
      out += "        {" + bytes + "},  /* " + ToneText(tone) + " */\n";
    }
    out += "    },\n";
  }
  return out + "};\n";
}

// The Morse identifications, 0-terminated rows, and which follows each message.
std::string IdentificationsC(const Run& run) {
  const std::string& name = run.name;
  std::string placement = run.progmem ? " PROGMEM" : "";
  std::string out =
      "\n/* Morse identifications: durations in dot units, key down first, then key up, and so\n"
      " * on; a 0 ends a row. NAME_CW_AFTER[m] is the identification (from 1) sent after message\n"
      " * m, 0 for none. */\n";
  out += Define(name + "_CW_IDS", std::to_string(run.identifications.size()),
                "distinct identifications");
  out += Define(name + "_CW_LENGTH", std::to_string(IdentificationLength(run)), "bytes per row");
  out += Define(name + "_CW_DOT_MS", std::to_string(std::lround(run.morse.dotSeconds * 1e3)) + "UL",
                "one dot unit, milliseconds");
  out += "const unsigned char " + name + "_CW[" + name + "_CW_IDS][" + name + "_CW_LENGTH]" +
         placement + " = {\n";
  for (const Identification& id : run.identifications) {
    std::vector<std::uint8_t> row = id.durations;
    row.resize(IdentificationLength(run), 0);
    out += "    /* " + id.text + " */\n    {" + Row(row, "        ") + "},\n";
  }
  out += "};\n";
  std::string after;
  for (int index : run.identificationAfter)
    after += (after.empty() ? "" : ", ") + std::to_string(index);
  out += "const unsigned char " + name + "_CW_AFTER[" + std::to_string(run.tables.size()) + "]" +
         placement + " = {" + after + "};\n";
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
  out += Define(name + "_LENGTH", std::to_string(length), "bytes per message");
  out += Define(name + "_VALUES", std::to_string(run.tables.front().values.size()),
                "symbols or tones per message");
  if (run.packed)
    out += Define(name + "_BITS", std::to_string(run.valueBits), "bits per value, packed");
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
  if (run.mode->mode == modes::Mode::kCw)
    out += Define(name + "_DOT_MS",
                  std::to_string(std::lround(first.symbolPeriodSeconds * 1e3)) + "UL",
                  "one dot unit, milliseconds; 0 ends a shorter keying");
  if (run.tuning) out += TuningC(run, *run.tuning);
  if (!run.identifications.empty()) out += IdentificationsC(run);
  return out + "\n#endif /* " + guard + " */\n";
}

}  // namespace qvcode

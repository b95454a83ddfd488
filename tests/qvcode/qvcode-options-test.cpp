// qvcode's option table and packing in-process: every option reached through its long and short
// form, the settled defaults, and the bit packing of values.
#include <gtest/gtest.h>

#include "qvcode/formats.h"
#include "qvcode/options.h"
#include "qvcode/tables.h"
#include "qvcode/targets.h"

namespace {

qvcode::Options Parsed(std::vector<std::string> arguments, Outcome* outcome = nullptr) {
  qvcode::Options options;
  Outcome result = qvcode::ParseCommandLine(arguments, options);
  if (outcome != nullptr) *outcome = result;
  return options;
}

TEST(QvcodeOptionsTest, EveryFormReachesItsOptionAndDefaultsSettle) {
  qvcode::Options plain = Parsed({"A"});
  EXPECT_EQ(plain.mode->name, "jt65");
  EXPECT_EQ(plain.submode, 'A');
  EXPECT_EQ(plain.format->name, "de");
  EXPECT_EQ(Parsed({"-f", "hex", "A"}).address, 0x2100u);
  EXPECT_EQ(plain.name, "JT65A_SYMBOLS");

  qvcode::Options shortForms = Parsed(
      {"-mJT4", "-f", "eep", "-a0x10", "-n", "T", "-t", "ATmega328P", "-o", "x", "-p", "-v", "A"});
  EXPECT_EQ(shortForms.mode->name, "jt4");
  EXPECT_EQ(shortForms.format->name, "eep");
  EXPECT_EQ(shortForms.address, 0x10u);
  EXPECT_EQ(shortForms.layout, qvcode::Family::kAvr);
  EXPECT_EQ(shortForms.name, "T");
  ASSERT_NE(shortForms.target, nullptr);
  EXPECT_EQ(shortForms.target->display, "ATmega328P");

  Outcome outcome;
  qvcode::Options longForms = Parsed({"--mode=wspr", "--sequence", "Tones", "--format", "C",
                                      "--progmem", "--target", "ATTINY85", "--strict", "--", "-A-"},
                                     &outcome);
  EXPECT_TRUE(outcome.ok) << outcome.error;
  EXPECT_EQ(longForms.submode, 0);
  EXPECT_EQ(longForms.sequence, qvcode::Sequence::kTones);
  EXPECT_TRUE(longForms.progmem && longForms.strict);
  EXPECT_EQ(longForms.messages, std::vector<std::string>{"-A-"});
  EXPECT_EQ(longForms.name, "WSPR_TONES");

  qvcode::Options wav = Parsed({"--wav", "a.wav", "--snr", "+5", "--seed", "0000000000017", "A"});
  EXPECT_EQ(wav.snrDb, 5.0);
  EXPECT_EQ(wav.seed, 17u);
  Parsed({"--seed", "4294967296", "--wav", "a", "A"}, &outcome);
  EXPECT_FALSE(outcome.ok);
  Parsed({"-p=1", "A"}, &outcome);
  EXPECT_EQ(outcome.error, "unknown option -p=1");
  Parsed({"-m", "wspr", "--submode", "B", "A"}, &outcome);
  EXPECT_EQ(outcome.error, "mode wspr has no submode B (it has no submodes)");
}

// Every row of the option table: its forms head one line of --help, and each form reaches the
// parser, with a value (and what the option needs beside it) that is taken.
TEST(QvcodeOptionsTest, HelpListsEveryOptionOnce) {
  struct Row {
    std::string longForm;
    char shortForm;
    std::vector<std::string> rest;  // the value, the options it needs, a message
  };
  const std::vector<Row> rows = {
      {"--mode", 'm', {"wspr", "A"}},
      {"--submode", 0, {"B", "A"}},
      {"--period", 0, {"120", "-m", "fst4w", "A"}},
      {"--sequence", 0, {"tones", "A"}},
      {"--format", 'f', {"c", "A"}},
      {"--pack", 'p', {"A"}},
      {"--progmem", 0, {"-f", "c", "A"}},
      {"--address", 'a', {"0x2110", "-f", "hex", "A"}},
      {"--name", 'n', {"T", "A"}},
      {"--target", 't', {"16f628a", "A"}},
      {"--schedule", 0, {"s.txt"}},
      {"--output", 'o', {"x", "A"}},
      {"--wav", 0, {"a.wav", "A"}},
      {"--frequency", 0, {"1000", "--wav", "a.wav", "A"}},
      {"--synth", 0, {"si5351", "--dial", "14095600", "A"}},
      {"--clock", 0, {"27000000", "--synth", "si5351", "--dial", "14095600", "A"}},
      {"--dial", 0, {"14095600", "--synth", "si5351", "A"}},
      {"--band", 0, {"20m", "--synth", "si5351", "-m", "wspr", "A"}},
      {"--wpm", 0, {"12", "-m", "cw", "A"}},
      {"--qrss", 0, {"3", "-m", "cw", "A"}},
      {"--fsk", 0, {"5", "-m", "cw", "A"}},
      {"--snr", 0, {"5", "--wav", "a.wav", "A"}},
      {"--seed", 0, {"3", "--wav", "a.wav", "A"}},
      {"--strict", 0, {"A"}},
      {"--verbose", 'v', {"A"}},
      {"--help", 'h', {}},
      {"--version", 'V', {}},
  };
  const std::string help = "\n" + qvcode::HelpText();
  std::size_t optionLines = 0;
  for (std::size_t at = help.find('\n'); at != std::string::npos; at = help.find('\n', at + 1)) {
    if (help.compare(at, 9, "\n      --") == 0 ||
        (help.compare(at, 4, "\n  -") == 0 && help.compare(at + 5, 4, ", --") == 0))
      ++optionLines;
  }
  EXPECT_EQ(optionLines, rows.size()) << "an option of --help is not in this test's rows";

  for (const Row& row : rows) {
    std::string head =
        row.shortForm != 0 ? std::string("\n  -") + row.shortForm + ", " : "\n      ";
    head += row.longForm + " ";
    std::size_t first = help.find(head);
    EXPECT_NE(first, std::string::npos) << row.longForm;
    EXPECT_EQ(help.find(head, first + 1), std::string::npos) << row.longForm << " twice";

    std::vector<std::string> forms = {row.longForm};
    if (row.shortForm != 0) forms.push_back(std::string("-") + row.shortForm);
    for (const std::string& form : forms) {
      std::vector<std::string> arguments = {form};
      arguments.insert(arguments.end(), row.rest.begin(), row.rest.end());
      Outcome outcome;
      Parsed(arguments, &outcome);
      EXPECT_TRUE(outcome.ok) << form << ": " << outcome.error;
    }
  }
  EXPECT_NE(help.find("-m, --mode MODE        the mode (default jt65)"), std::string::npos);
}

TEST(QvcodeOptionsTest, PackingPutsEachValueInItsBitsMostSignificantFirst) {
  EXPECT_EQ(qvcode::PackValues({1, 0, 1, 1, 0, 0, 0, 1, 1}, 1),
            (std::vector<std::uint8_t>{0xB1, 0x80}));
  EXPECT_EQ(qvcode::PackValues({63, 0, 21}, 6), (std::vector<std::uint8_t>{0xFC, 0x05, 0x40}));
  EXPECT_EQ(qvcode::PackValues({7, 1, 5}, 3), (std::vector<std::uint8_t>{0xE6, 0x80}));
}

}  // namespace

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

TEST(QvcodeOptionsTest, HelpListsEveryOptionOnce) {
  std::string help = qvcode::HelpText();
  for (const char* option :
       {"--mode", "--submode", "--sequence", "--format", "--pack", "--progmem", "--address",
        "--name", "--target", "--schedule", "--output", "--wav", "--frequency", "--snr", "--seed",
        "--strict", "--verbose", "--help", "--version"}) {
    std::size_t first = help.find(std::string(option) + " ");
    EXPECT_NE(first, std::string::npos) << option;
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

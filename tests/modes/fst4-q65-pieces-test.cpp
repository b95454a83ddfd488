// The FST4, FST4W and Q65 pieces of the encoder core against the worked values of the protocol
// facts, without the reference tools: bits and tones of the worked examples, the power rounding,
// the refusals and their words, and the mode table's periods against the core's.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "modes/bits.h"
#include "modes/core/fst4/qvs-fst4.h"
#include "modes/core/q65/qvq-q65.h"
#include "modes/mode.h"

namespace {

using modes::Mode;

std::string Numbers(const std::vector<int>& values) {
  std::string text;
  for (int value : values) text += std::to_string(value) + " ";
  return text;
}

struct Worked {
  Mode mode;
  const char* message;
  const char* bits;   // the source bits as sent
  const char* tones;  // the first 40 tones
};

// The worked examples of the facts: fst4sim's listings and q65code's / q65sim's.
const Worked kWorked[] = {
    {Mode::kFst4w, "K1ABC FN42 37", "00001001101111011110001101010101000011001100101100",
     "0132102300313221230211110020203201302123"},
    {Mode::kFst4w, "<PJ4/K1ABC> FK52UD", "01010110101110001000100010111111101111011111011010",
     "0132102311133230303032223221221330103223"},
    {Mode::kFst4w, "K1ABC/P 30", "00001001101111011110001101011011011001011001010011",
     "0132102300313221230211321311311022032223"},
    {Mode::kFst4, "CQ K1ABC FN42",
     "00000000000000000000000000100000010011011110111100011010100010100001100110001",
     "0132102310331123303131102221131113022123"},
    {Mode::kQ65, "CQ K1ABC FN42",
     "00000000000000000000000000100000010011011110111100011010100010100001100110001",
     "0 1 1 1 1 9 5 56 0 48 7 0 0 41 0 41 26 35 52 52 52 0 0 60 8 0 0 39 15 51 63 61 0 61 0 20 20 "
     "0 "
     "1 4 "},
    // WSJT-X's transmitter sends the RR73 code (32403) in place of the locator RR73 (32373).
    {Mode::kQ65, "K1ABC W9XYZ RR73",
     "00001001101111011110001101010000011000010100100111011100000111111010010011001",
     "0 3 28 56 36 21 7 6 0 10 56 0 0 2 0 63 37 51 52 39 6 0 0 18 15 0 0 51 52 40 20 17 0 36 0 43 "
     "37 0 5 63 "},
};

TEST(Fst4Q65Pieces, WorkedExamples) {
  for (const Worked& w : kWorked) {
    modes::Encoding got;
    ASSERT_TRUE(modes::EncodeMessage(w.mode, 0, w.message, got).ok) << w.message;
    EXPECT_EQ(got.sourceBits, modes::BitsOfText(w.bits)) << w.message;
    std::vector<int> first(got.tones.begin(), got.tones.begin() + 40);
    std::string tones = w.mode == Mode::kQ65 ? Numbers(first) : "";
    if (w.mode != Mode::kQ65)
      for (int tone : first) tones += char('0' + tone);
    EXPECT_EQ(tones, w.tones) << w.message;
  }
}

TEST(Fst4Q65Pieces, PowersRoundToNineteenSteps) {
  // dBm 0-99 to the figure a receiver shows (3.3 dB steps, 60 at most), as WSPR rounds them.
  for (int dbm = 0; dbm < 100; ++dbm) {
    std::string text = "K1ABC FN42 " + std::to_string(dbm);
    std::uint8_t bits[QVS_FST4W_BYTES];
    qvc_report report;
    ASSERT_EQ(qvs_fst4w_pack(text.c_str(), bits, nullptr, &report), QVC_OK) << text;
    int code = bits[5] & 0x1F;  // bits 43-47
    int shown = (20 * code + 3) / 6;
    EXPECT_EQ(code, (3 * std::min(dbm, 60) + 5) / 10) << dbm;
    EXPECT_EQ((report.changes & QVS_CHANGED_POWER) != 0, shown != dbm) << dbm;
  }
}

TEST(Fst4Q65Pieces, RefusalsNameTheirWord) {
  struct Refusal {
    const char* text;
    qvc_status status;
    const char* word;
  };
  const Refusal kRefusals[] = {
      {"", QVC_EMPTY_MESSAGE, ""},
      {"CQ K1ABC FN42", QVS_NOT_FST4W, "CQ"},
      {"K1ABC FN42 -5", QVS_BAD_POWER, "-5"},
      {"K1ABC ZZ42 37", QVS_BAD_LOCATOR, "ZZ42"},
      {"<K1ABC> FN42ZZ", QVS_BAD_LOCATOR, "FN42ZZ"},
      {"K1ABC/ABCD 30", QVS_BAD_AFFIX, "K1ABC/ABCD"},
      {"AB/K1A 30", QVS_BAD_AFFIX, "AB/K1A"},
      {"<K1#BC> FN42", QVS_BAD_CALL, "<K1#BC>"},
      {"W8V/U92 58", QVS_BAD_CALL, "W8V/U92"},
      {"K1ABC 37", QVS_NOT_FST4W, "K1ABC"},
  };
  for (const Refusal& r : kRefusals) {
    std::uint8_t bits[QVS_FST4W_BYTES];
    qvc_report report;
    EXPECT_EQ(qvs_fst4w_pack(r.text, bits, nullptr, &report), r.status) << r.text;
    EXPECT_EQ(std::string(r.text).substr(report.word_start, report.word_length), r.word) << r.text;
    modes::Encoding encoding;
    modes::EncodeResult result = modes::EncodeMessage(Mode::kFst4w, 0, r.text, encoding);
    EXPECT_FALSE(result.ok) << r.text;
    if (*r.word != '\0') {
      EXPECT_NE(result.error.find(r.word), std::string::npos) << result.error;
    }
  }
}

TEST(Fst4Q65Pieces, PeriodsOfTheTableAreTheCores) {
  for (Mode mode : {Mode::kFst4w, Mode::kFst4, Mode::kQ65}) {
    const modes::ModeInfo& info = modes::InfoOf(mode);
    ASSERT_NE(modes::FindPeriod(info, 0), nullptr);
    for (const modes::ModePeriod& period : info.periods) {
      std::uint32_t core = mode == Mode::kQ65
                               ? qvq_samples_per_symbol(std::uint16_t(period.seconds))
                               : qvs_samples_per_symbol(std::uint16_t(period.seconds));
      EXPECT_EQ(core, std::uint32_t(period.samplesPerSymbol)) << info.name << period.seconds;
    }
  }
  // The spacing follows the period: Q65-120D keys 6 Hz apart, FST4-15 16.67 Hz.
  modes::Encoding encoding;
  ASSERT_TRUE(modes::EncodeMessage(Mode::kQ65, 'D', 120, "CQ K1ABC FN42", encoding).ok);
  EXPECT_NEAR(encoding.toneSpacingHz, 6.0, 1e-9);
  EXPECT_NEAR(encoding.symbolPeriodSeconds, 16000 / 12000.0, 1e-12);
  ASSERT_TRUE(modes::EncodeMessage(Mode::kFst4, 0, 15, "CQ K1ABC FN42", encoding).ok);
  EXPECT_NEAR(encoding.toneSpacingHz, 12000.0 / 720, 1e-9);
  EXPECT_FALSE(modes::EncodeMessage(Mode::kFst4w, 0, 60, "K1ABC FN42 37", encoding).ok);
  EXPECT_FALSE(modes::EncodeMessage(Mode::kFt8, 0, 30, "CQ K1ABC FN42", encoding).ok);
}

}  // namespace

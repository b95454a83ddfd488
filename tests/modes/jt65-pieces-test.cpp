// The encoder's pieces against the worked figures of the JT65 protocol: field values of calls,
// locators and reports, the Reed-Solomon generator, a whole chain, and the reading of
// report numbers that decides which report texts are accepted.
#include <gtest/gtest.h>

#include "modes/callsign.h"
#include "modes/field3.h"
#include "modes/fixed-text.h"
#include "modes/jt65-channel.h"
#include "modes/list-number.h"
#include "modes/packed-message.h"
#include "modes/reed-solomon.h"

namespace jt65 {
namespace {

TEST(Callsign, PacksToTheWorkedValuesAndBack) {
  struct Case {
    const char* call;
    std::int32_t value;
  };
  for (Case c : {Case{"K1ABC", 259047992}, Case{"W9XYZ", 261584827}, Case{"G0XYZ", 258258400},
                 Case{"KA1ABC", 143705612}, Case{"E9NA", 258033950}, Case{"CQ9DX", 90328121}}) {
    EXPECT_EQ(PackCall(c.call), c.value) << c.call;
    EXPECT_EQ(TrimRight(UnpackCall(c.value).word), c.call);
  }
  EXPECT_EQ(PackCall("CQ"), kCqValue);
  EXPECT_EQ(PackCall("CQ 290"), kCqFrequencyValue + 290);
  EXPECT_EQ(PackCall("QRZ"), kQrzValue);
  EXPECT_EQ(PackCall("DE"), kDeValue);
  EXPECT_EQ(TrimRight(UnpackCall(*PackCall("3DA0XY")).word), "3DA0XY");
  EXPECT_EQ(TrimRight(UnpackCall(*PackCall("3XA1B")).word), "3XA1B");
  EXPECT_EQ(PackCall("KA1ABCD"), PackCall("KA1ABC"));  // only six characters count
  for (const char* not_a_call : {"K1ABCD", "ABCDE", "", "K1AB2", "1ABC", "K1/AB"}) {
    EXPECT_FALSE(PackCall(not_a_call)) << not_a_call;
  }
}

TEST(Field3, PacksLocatorsReportsAndWords) {
  struct Case {
    const char* field;
    int value;
    const char* text;
  };
  for (Case c :
       {Case{"FN42", 22632, "FN42"}, Case{"FN43", 22633, "FN43"}, Case{"EN34", 24614, "EN34"},
        Case{"AA00", 32220, "AA00"}, Case{"RR99", 179, "RR99"}, Case{"", 32401, "    "},
        Case{"-01", 32402, "-01 "}, Case{"-30", 32431, "-30 "}, Case{"R-01", 32432, "R-01"},
        Case{"RO", 32462, "RO  "}, Case{"RRR", 32463, "RRR "}, Case{"73", 32464, "73  "},
        Case{"-35", 14045, "-35 "}, Case{"5", 13325, "+05 "}, Case{"R+05", 11525, "R+05"},
        Case{"-00", 13320, "+00 "}}) {
    EXPECT_EQ(PackField3(c.field), c.value) << c.field;
    EXPECT_EQ(UnpackField3(c.value), c.text) << c.value;
  }
  for (const char* not_a_field : {"SA00", "FNA2", "50", "-51", "-5a", "5.", ",5", "R-"}) {
    EXPECT_FALSE(PackField3(not_a_field)) << not_a_field;
  }
}

TEST(ListNumber, ReadsAsAFortranListReadDoes) {
  struct Case {
    const char* text;
    ListRead result;
    int value;  // what the variable holds afterwards; it starts at 7
  };
  for (Case c : {Case{"12 ", ListRead::kValue, 12}, Case{"-5/", ListRead::kValue, -5},
                 Case{"5;", ListRead::kValue, 5}, Case{"2*-5", ListRead::kValue, -5},
                 Case{",5", ListRead::kNothing, 7}, Case{"5*", ListRead::kNothing, 7},
                 Case{"/", ListRead::kNothing, 7}, Case{"   ", ListRead::kEnd, 7},
                 Case{"0*5", ListRead::kError, 7}, Case{"-2*5", ListRead::kError, 7},
                 Case{"5.", ListRead::kError, 7}, Case{"+", ListRead::kError, 7},
                 Case{"1e1", ListRead::kError, 7}, Case{"R5", ListRead::kError, 7}}) {
    int value = 7;
    EXPECT_EQ(ReadListNumber(c.text, value), c.result) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
  }
}

TEST(ReedSolomon, GeneratorAndFieldMatchTheProtocol) {
  const std::array<int, 52> published = {58, 22, 62, 5,  24, 29, 53, 59, 14, 54, 15, 29, 21,
                                         30, 54, 59, 16, 61, 14, 40, 43, 48, 44, 43, 63, 22,
                                         12, 44, 44, 51, 48, 63, 56, 13, 17, 54, 1,  34, 5,
                                         21, 13, 9,  57, 46, 31, 2,  14, 4,  5,  2,  52, 1};
  EXPECT_EQ(GeneratorPolynomial(), published);
  EXPECT_EQ(GfMultiply(32, 2), 3);  // alpha^5 * alpha = alpha^6 = x + 1
  EXPECT_EQ(GfMultiply(33, 2), 1);  // alpha^62 * alpha = 1
}

TEST(Chain, G0xyzGoesThroughEveryStage) {
  PackedMessage packed = PackMessage("G0XYZ K1ABC FN42");
  EXPECT_EQ(packed.call1, 258258400);
  EXPECT_EQ(packed.call2, 259047992);
  EXPECT_EQ(packed.field3, 22632);
  DataSymbols data = ToDataSymbols(packed);
  EXPECT_EQ(data, (DataSymbols{61, 36, 45, 30, 3, 55, 3, 2, 14, 5, 33, 40}));

  const Codeword sent = {47, 38, 11, 16, 49, 50, 29, 48, 27, 44, 1,  36, 21, 36, 15, 38,
                         50, 25, 5,  25, 25, 48, 23, 49, 49, 17, 46, 58, 34, 21, 44, 50,
                         25, 9,  62, 53, 9,  61, 0,  14, 45, 51, 35, 40, 15, 17, 43, 49,
                         28, 60, 52, 61, 36, 45, 30, 3,  55, 3,  2,  14, 5,  33, 40};
  EXPECT_EQ(EncodeReedSolomon(data), sent);
  const Codeword interleaved = {47, 48, 15, 48, 34, 53, 35, 60, 55, 38, 27, 38, 23, 21, 9,  40,
                                52, 3,  11, 44, 50, 49, 44, 61, 15, 61, 2,  16, 1,  25, 49, 50,
                                0,  17, 36, 14, 49, 36, 5,  17, 25, 14, 43, 45, 5,  50, 21, 25,
                                46, 9,  45, 49, 30, 33, 29, 36, 25, 58, 62, 51, 28, 3,  40};
  EXPECT_EQ(Interleave(sent), interleaved);

  // And back: every stage undone gives the same fields.
  Codeword received = FromChannelSymbols(ToChannelSymbols(sent));
  EXPECT_EQ(received, sent);
  PackedMessage unpacked = FromDataSymbols(DataOfCodeword(received));
  EXPECT_EQ(unpacked.call1, packed.call1);
  EXPECT_EQ(unpacked.call2, packed.call2);
  EXPECT_EQ(unpacked.field3, packed.field3);
  EXPECT_EQ(TrimRight(UnpackMessage(unpacked)), "G0XYZ K1ABC FN42");
}

}  // namespace
}  // namespace jt65

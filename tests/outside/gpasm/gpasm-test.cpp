// The include file where it is used: quorvel writes it for a message (a scripted run, no
// terminal), gpasm assembles it into the data EEPROM of a PIC16F628A program, and the EEPROM bytes
// read back from the hex file must be the 63 channel symbols that Debian's jt65code gives for the
// same message. Messages of every kind that fit in 13 characters, over 20 of each.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/environment.h"
#include "tests/support/intel-hex.h"
#include "tests/support/needs-tool.h"
#include "tests/support/reference-tools.h"
#include "tests/support/shell.h"
#include "tests/support/temp-folder.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadIntelHex;
using testsupport::ShellQuote;

// Data EEPROM starts at word 0x2100 of the program memory map; the hex file counts bytes, and
// every EEPROM byte takes one 16-bit word there, low byte first.
constexpr unsigned kEepromInHex = 0x2100 * 2;
constexpr int kSymbolCount = 63;

const char kProgram[] =
    "        processor 16f628a\n"
    "        #include <p16f628a.inc>\n"
    "        org 0x0000\n"
    "        goto $\n"
    "        org 0x2100\n"
    "        #include \"JT65SYMB.INC\"\n"
    "        end\n";

class GpasmTest : public testsupport::TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    NEED_TOOL("gpasm", "package gputils");
    NEED_TOOL("jt65code", "package wsjtx");
    std::string bin = testsupport::BinFolder();
    for (const char* program : {"quorvel", "qcmd", "JT65CODE.EXE"})
      fs::copy_file(bin + "/" + program, program);
    testsupport::ClearEnvironment("COMSPEC");
    WriteFile("beacon.asm", kProgram);
  }

  // Runs quorvel for message and assembles what it wrote; the EEPROM words from the hex file.
  static std::vector<int> EepromWords(const std::string& message) {
    fs::remove("JT65SYMB.INC");
    fs::remove("beacon.hex");
    std::string run = "setsid -w ./quorvel " + ShellQuote(message) + " </dev/null >/dev/null 2>&1";
    EXPECT_EQ(std::system(run.c_str()), 0) << "quorvel";
    if (!Exists("JT65SYMB.INC")) return {};
    EXPECT_EQ(std::system("gpasm beacon.asm >gpasm.txt 2>&1"), 0) << ReadFile("gpasm.txt");
    std::map<unsigned, int> memory = ReadIntelHex(ReadFile("beacon.hex"));
    std::vector<int> words;
    for (auto at = memory.lower_bound(kEepromInHex); at != memory.end(); ++at) {
      unsigned offset = at->first - kEepromInHex;
      if (offset % 2 == 0) {
        EXPECT_EQ(offset, 2 * words.size()) << "a gap in the EEPROM data";
        words.push_back(at->second);
      } else {
        EXPECT_EQ(at->second, 0) << "the high byte of EEPROM word " << offset / 2;
      }
    }
    return words;
  }

  static void CheckMessages(const std::vector<std::string>& messages) {
    EXPECT_GE(messages.size(), 20u);
    std::vector<testsupport::ToolEncoding> reference =
        testsupport::RunReferenceToolBatch(modes::Mode::kJt65, messages);
    for (size_t i = 0; i < messages.size(); ++i) {
      SCOPED_TRACE(messages[i]);
      ASSERT_LE(messages[i].size(), 13u);
      ASSERT_EQ(reference[i].symbols.size(), static_cast<size_t>(kSymbolCount))
          << reference[i].error;
      EXPECT_EQ(EepromWords(messages[i]), reference[i].symbols);
    }
  }
};

TEST_F(GpasmTest, StandardMessagesWithLocatorsAndCqVariants) {
  CheckMessages(
      {"CQ K1ABC FN42", "CQ W9XYZ EN37", "CQ G0XYZ IO91", "CQ JA1XX PM95", "CQ VK2AB QF56",
       "CQ DL1AB JO62", "QRZ K1AB FN42", "QRZ W9XY EN37", "DE K1ABC FN42", "DE G4ABC IO91",
       "K1A W9XY EN37", "G0X K1AB FN42", "W9X G0XY IO91", "K1AB W9X EN37", "CQ 2E0AB IO82",
       "CQ K1ABC",      "CQ DX K1ABC",   "CQ NA K1ABC",   "CQ 123 K1ABC",  "DE K1ABC",
       "QRZ G0XYZ",     "K1ABC W9XYZ",   "CQ K1AB OOO",   "K1A W9X AA00",  "K1A W9X RR99"});
}

TEST_F(GpasmTest, SignalReportsAndAcknowledgements) {
  CheckMessages({"K1A W9X -15",   "K1A W9X R-15",  "K1AB W9X -01",  "K1AB W9X R-30",
                 "G0X K1AB -22",  "W9X G0X R-05",  "K1ABC W9X -10", "W9XY K1A R-12",
                 "K1AB W9XY 73",  "K1AB W9XY RRR", "K1AB W9XY RO",  "K1A W9X RRR",
                 "K1A W9X 73",    "G0X K1A RO",    "JA1X VK2A -09", "VK2 JA1X R-09",
                 "DL1A G0XY -18", "G0X DL1A R-18", "K1A G0X -30",   "K1A G0X R-01",
                 "W9X K1A -25"});
}

TEST_F(GpasmTest, FreeText) {
  CheckMessages({"HELLO WORLD",   "TNX BOB 73 GL", "PSE QSY 14076", "QRV 0800Z",
                 "RST 599 TU",    "ANT 5/8 WAVE",  "1.2.3.4-5+6?",  "WX SUNNY 22C",
                 "QTH BOSTON",    "NAME JOE",      "TU FER QSO",    "PWR 5W",
                 "TEST 123",      "ABCDEFGHIJKLM", "0123456789+-.", "/?/?/?/?/?/?/",
                 "A B C D E F G", "GM ALL",        "QRT 73",        "CU AGN",
                 "73 GL DE K1AB"});
}

TEST_F(GpasmTest, CompoundCallsWithPrefixesAndSuffixes) {
  CheckMessages({"CQ PJ4/K1ABC", "CQ K1ABC/P",  "CQ 3D2/K1AB",  "QRZ K1ABC/P",  "DE PJ4/K1ABC",
                 "CQ ZL/K1ABC",  "CQ VK/G0XYZ", "DE G0XYZ/7",   "QRZ ZL/K1ABC", "CQ K1ABC/0",
                 "CQ G0XYZ/9",   "DE K1ABC/M",  "CQ ABCD/K1AB", "DE ABCD/K1AB", "CQ K1AB/XYZ",
                 "QRZ K1AB/XY",  "CQ 4U1/K1AB", "QRZ F/G0XYZ",  "DE W9XYZ/A",   "CQ KH6/K1AB",
                 "CQ K1ABC/QRP"});
}

TEST_F(GpasmTest, LowerCaseAndCharactersOutsideTheAlphabet) {
  CheckMessages({"cq k1abc fn42", "hello world",   "k1a w9x -15",
                 "cq pj4/k1abc",  "Tnx Bob 73",    "CQ  K1AB FN42",
                 "HI! HOW R U",   "A_B_C",         "50% OFF",
                 "QSL @ BURO",    "CQ K1AB FN42 ", "CQ K1ABC ",
                 "K1A  W9X  -15", "[K1ABC]",       "ABC;DEF",
                 "#1 OP",         "X=Y*Z",         "TEST:123",
                 "GL ~ 73",       "~~~~ 73 ~~~~",  "a",
                 "A&B",           "X<Y>Z",         "2^8 A|B",
                 "SAY \"HI\""});
}

}  // namespace

// The key decoder of the terminal console: the bytes of xterm, rxvt, the Linux console and tmux
// turned into key records with the right character, scan code and modifier state.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/posix/console-posix-keys.h"
#include "platform/scan-codes.h"

namespace {

using pf::tty::DecodedInput;
using pf::tty::DecodeKeys;

struct Key {
  char16_t ch;
  uint16_t scan;
  uint32_t state;
  bool operator==(const Key&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Key& k) {
  return out << "{ch " << static_cast<int>(k.ch) << ", scan 0x" << std::hex << k.scan
             << ", state 0x" << k.state << std::dec << "}";
}

// The pressed keys; also checks each press is followed by its own release.
std::vector<Key> Pressed(const DecodedInput& decoded) {
  std::vector<Key> keys;
  const auto& records = decoded.records;
  EXPECT_EQ(records.size() % 2, 0u);
  for (size_t i = 0; i + 1 < records.size(); i += 2) {
    const pf::KeyEventRecord& down = records[i].key;
    const pf::KeyEventRecord& up = records[i + 1].key;
    EXPECT_EQ(records[i].eventType, pf::kKeyEvent);
    EXPECT_TRUE(down.keyDown);
    EXPECT_FALSE(up.keyDown);
    EXPECT_EQ(down.unicodeChar, up.unicodeChar);
    EXPECT_EQ(down.virtualScanCode, up.virtualScanCode);
    keys.push_back(
        {down.unicodeChar, down.virtualScanCode, down.controlKeyState & ~pf::kEnhancedKey});
  }
  return keys;
}

// Decodes all of bytes as if the typing had paused after them.
std::vector<Key> Decode(const std::string& bytes, size_t* used = nullptr) {
  DecodedInput decoded;
  size_t taken = DecodeKeys(bytes, true, false, &decoded);
  if (used != nullptr) *used = taken;
  EXPECT_EQ(taken, bytes.size()) << "bytes left over";
  return Pressed(decoded);
}

Key One(const std::string& bytes) {
  std::vector<Key> keys = Decode(bytes);
  EXPECT_EQ(keys.size(), 1u) << "for the bytes of \"" << bytes << "\"";
  return keys.empty() ? Key{} : keys[0];
}

constexpr uint32_t kShift = pf::kShiftPressed;
constexpr uint32_t kCtrl = pf::kLeftCtrlPressed;
constexpr uint32_t kAlt = pf::kLeftAltPressed;

TEST(KeyDecoder, PrintableCharactersCarryTheirKeysScanCodeAndShift) {
  EXPECT_EQ(One("a"), (Key{u'a', 0x1E, 0}));
  EXPECT_EQ(One("A"), (Key{u'A', 0x1E, kShift}));
  EXPECT_EQ(One("q"), (Key{u'q', 0x10, 0}));
  EXPECT_EQ(One("M"), (Key{u'M', 0x32, kShift}));
  EXPECT_EQ(One("1"), (Key{u'1', 0x02, 0}));
  EXPECT_EQ(One("!"), (Key{u'!', 0x02, kShift}));
  EXPECT_EQ(One(" "), (Key{u' ', pf::kScanSpace, 0}));
  EXPECT_EQ(One("/"), (Key{u'/', 0x35, 0}));
  EXPECT_EQ(Decode("hi!").size(), 3u);
}

TEST(KeyDecoder, ControlKeysAreTheKeysAConsoleReports) {
  EXPECT_EQ(One("\x7f"), (Key{8, pf::kScanBackspace, 0}));
  EXPECT_EQ(One("\x08"), (Key{8, pf::kScanBackspace, 0}));
  EXPECT_EQ(One("\r"), (Key{13, pf::kScanEnter, 0}));
  EXPECT_EQ(One("\t"), (Key{9, pf::kScanTab, 0}));
  EXPECT_EQ(One("\x03"), (Key{3, 0x2E, kCtrl}));   // Ctrl+C: a key, not a signal
  EXPECT_EQ(One("\x1a"), (Key{26, 0x2C, kCtrl}));  // Ctrl+Z
  EXPECT_EQ(One("\x0a"), (Key{10, 0x24, kCtrl}));  // Ctrl+J
  EXPECT_EQ(One("\x1c"), (Key{28, 0x2B, kCtrl}));  // Ctrl+backslash
  EXPECT_EQ(One(std::string(1, '\0')).ch, 0);
}

TEST(KeyDecoder, AnEscAloneWaitsForThePauseThenIsTheEscKey) {
  DecodedInput decoded;
  EXPECT_EQ(DecodeKeys("ab\x1b", false, false, &decoded), 2u);  // the ESC may start a sequence
  EXPECT_EQ(Pressed(decoded).size(), 2u);
  EXPECT_EQ(One("\x1b"), (Key{27, pf::kScanEsc, 0}));
  EXPECT_EQ(Decode("\x1b\x1b"), (std::vector<Key>{{27, 1, 0}, {27, 1, 0}}));
}

TEST(KeyDecoder, EscBeforeAKeyIsAltWithThatKey) {
  EXPECT_EQ(One("\x1bx"), (Key{u'x', 0x2D, kAlt}));
  EXPECT_EQ(One("\x1bX"), (Key{u'X', 0x2D, kAlt | kShift}));
  EXPECT_EQ(One("\x1b\x7f"), (Key{8, pf::kScanBackspace, kAlt}));
  EXPECT_EQ(One("\x1b\x1b[A"), (Key{0, pf::kScanUp, kAlt}));
  EXPECT_EQ(One("\x1b["), (Key{u'[', 0x1A, kAlt}));  // Alt+[ once nothing follows
  EXPECT_EQ(One("\x1bO"), (Key{u'O', 0x18, kAlt | kShift}));
}

struct SequenceCase {
  const char* bytes;
  uint16_t scan;
  uint32_t state;
};

TEST(KeyDecoder, EscapeSequencesBecomeKeysWithoutACharacter) {
  const SequenceCase cases[] = {
      // xterm, tmux: CSI and SS3 (application cursor keys)
      {"\x1b[A", pf::kScanUp, 0},
      {"\x1b[B", pf::kScanDown, 0},
      {"\x1b[C", pf::kScanRight, 0},
      {"\x1b[D", pf::kScanLeft, 0},
      {"\x1bOA", pf::kScanUp, 0},
      {"\x1bOD", pf::kScanLeft, 0},
      {"\x1b[H", pf::kScanHome, 0},
      {"\x1b[F", pf::kScanEnd, 0},
      {"\x1bOH", pf::kScanHome, 0},
      {"\x1bOF", pf::kScanEnd, 0},
      {"\x1b[1~", pf::kScanHome, 0},
      {"\x1b[2~", pf::kScanInsert, 0},
      {"\x1b[3~", pf::kScanDelete, 0},
      {"\x1b[4~", pf::kScanEnd, 0},
      {"\x1b[5~", pf::kScanPageUp, 0},
      {"\x1b[6~", pf::kScanPageDown, 0},
      {"\x1bOP", pf::kScanF1, 0},
      {"\x1bOQ", pf::kScanF1 + 1, 0},
      {"\x1bOR", pf::kScanF1 + 2, 0},
      {"\x1bOS", pf::kScanF1 + 3, 0},
      {"\x1b[15~", pf::kScanF1 + 4, 0},
      {"\x1b[17~", pf::kScanF1 + 5, 0},
      {"\x1b[21~", pf::kScanF1 + 9, 0},
      {"\x1b[23~", pf::kScanF11, 0},
      {"\x1b[24~", pf::kScanF12, 0},
      // rxvt
      {"\x1b[7~", pf::kScanHome, 0},
      {"\x1b[8~", pf::kScanEnd, 0},
      {"\x1b[11~", pf::kScanF1, 0},
      {"\x1b[14~", pf::kScanF1 + 3, 0},
      {"\x1b[25~", pf::kScanF1 + 2, kShift},
      {"\x1b[34~", pf::kScanF1 + 9, kShift},
      {"\x1b[2$", pf::kScanInsert, kShift},
      {"\x1b[5^", pf::kScanPageUp, kCtrl},
      {"\x1b[3@", pf::kScanDelete, kCtrl | kShift},
      {"\x1b[a", pf::kScanUp, kShift},
      {"\x1bOd", pf::kScanLeft, kCtrl},
      // the Linux console
      {"\x1b[[A", pf::kScanF1, 0},
      {"\x1b[[E", pf::kScanF1 + 4, 0},
      // modifiers
      {"\x1b[1;2A", pf::kScanUp, kShift},
      {"\x1b[1;3D", pf::kScanLeft, kAlt},
      {"\x1b[1;5C", pf::kScanRight, kCtrl},
      {"\x1b[1;8H", pf::kScanHome, kShift | kAlt | kCtrl},
      {"\x1b[3;5~", pf::kScanDelete, kCtrl},
      {"\x1b[1;2P", pf::kScanF1, kShift},
      {"\x1b[24;2~", pf::kScanF12, kShift},
      {"\x1bO5P", pf::kScanF1, kCtrl},
  };
  for (const SequenceCase& c : cases) {
    EXPECT_EQ(One(c.bytes), (Key{0, c.scan, c.state})) << "for ESC" << (c.bytes + 1);
  }
}

TEST(KeyDecoder, GreyKeysAreEnhancedLikeOnAPcKeyboard) {
  DecodedInput decoded;
  DecodeKeys("\x1b[A\x1b[3~\x1bOP", true, false, &decoded);
  ASSERT_EQ(decoded.records.size(), 6u);
  EXPECT_TRUE(decoded.records[0].key.controlKeyState & pf::kEnhancedKey);
  EXPECT_TRUE(decoded.records[2].key.controlKeyState & pf::kEnhancedKey);
  EXPECT_FALSE(decoded.records[4].key.controlKeyState & pf::kEnhancedKey);
  EXPECT_EQ(decoded.records[0].key.virtualKeyCode, 0x26);  // VK_UP
  EXPECT_EQ(decoded.records[4].key.virtualKeyCode, 0x70);  // VK_F1
}

TEST(KeyDecoder, ShiftTabAndTheApplicationKeypad) {
  EXPECT_EQ(One("\x1b[Z"), (Key{9, pf::kScanTab, kShift}));
  EXPECT_EQ(One("\x1bOM"), (Key{13, pf::kScanEnter, 0}));
  EXPECT_EQ(One("\x1bOq").ch, u'1');
}

TEST(KeyDecoder, UnknownSequencesAreSwallowedWhole) {
  EXPECT_TRUE(Decode("\x1b[?1;2c").empty());  // a device attributes answer
  EXPECT_TRUE(Decode("\x1b[99~").empty());
  EXPECT_TRUE(Decode("\x1b[200~").empty());
  EXPECT_EQ(Decode("\x1b[1;2;3;4;5;6;7zok").size(), 2u);
}

TEST(KeyDecoder, SequencesCutShortWaitForTheRest) {
  for (std::string partial : {"\x1b[", "\x1b[1", "\x1b[1;", "\x1b[1;5", "\x1bO", "\x1b[[", "\xc3",
                              "\xe2\x82", "\x1b\x1b["}) {
    DecodedInput decoded;
    EXPECT_EQ(DecodeKeys("x" + partial, false, false, &decoded), 1u) << partial;
    DecodedInput completed;
    DecodeKeys(partial + "A", false, false, &completed);  // and the rest arrives
    EXPECT_FALSE(completed.records.empty()) << partial;
  }
  EXPECT_TRUE(Decode("\x1b[1;5").empty());  // after the pause: dropped
}

TEST(KeyDecoder, ControlBytesInsideASequenceEndIt) {
  EXPECT_EQ(Decode("\x1b[1\r"), (std::vector<Key>{{13, pf::kScanEnter, 0}}));
}

TEST(KeyDecoder, Utf8CharactersAndSurrogatePairs) {
  EXPECT_EQ(One("\xc3\xa9"), (Key{u'\u00e9', 0, 0}));
  EXPECT_EQ(One("\xe2\x82\xac"), (Key{u'\u20ac', 0, 0}));
  EXPECT_EQ(Decode("\xf0\x9f\x98\x80"), (std::vector<Key>{{0xD83D, 0, 0}, {0xDE00, 0, 0}}));
  EXPECT_EQ(One("\x1b\xc3\xa9"), (Key{u'\u00e9', 0, kAlt}));
}

TEST(KeyDecoder, BrokenUtf8BecomesReplacementCharacters) {
  EXPECT_EQ(One("\xff").ch, 0xFFFD);
  EXPECT_EQ(One("\x80").ch, 0xFFFD);
  EXPECT_EQ(Decode("\xc0\xaf"), (std::vector<Key>{{0xFFFD, 0, 0}, {0xFFFD, 0, 0}}));
  EXPECT_EQ(One("\xe0\x80\xaf").ch, 0xFFFD);  // overlong
  EXPECT_EQ(One("\xed\xa0\x80").ch, 0xFFFD);  // an encoded surrogate
  EXPECT_EQ(Decode("\xc3x"), (std::vector<Key>{{0xFFFD, 0, 0}, {u'x', 0x2D, 0}}));
  EXPECT_EQ(One("\xe2\x82").ch, 0xFFFD);  // cut short, then the pause
}

TEST(KeyDecoder, CursorReportsAreTakenOutOfTheKeys) {
  std::string bytes = "ab\x1b[12;40Rcd";
  pf::Coord at;
  ASSERT_TRUE(pf::tty::TakeCursorReport(&bytes, &at));
  EXPECT_EQ(bytes, "abcd");
  EXPECT_EQ(at.x, 39);
  EXPECT_EQ(at.y, 11);
  std::string none = "\x1b[12R\x1b[;4R\x1b[A";
  EXPECT_FALSE(pf::tty::TakeCursorReport(&none, &at));
  EXPECT_EQ(none, "\x1b[12R\x1b[;4R\x1b[A");
}

TEST(KeyDecoder, ALateCursorReportIsDroppedWhenOneIsExpected) {
  DecodedInput decoded;
  EXPECT_EQ(DecodeKeys("\x1b[1;2Rx", true, true, &decoded), 7u);
  EXPECT_EQ(decoded.cursorReports, 1);
  EXPECT_EQ(Pressed(decoded), (std::vector<Key>{{u'x', 0x2D, 0}}));
  EXPECT_EQ(One("\x1b[1;2R"), (Key{0, pf::kScanF1 + 2, kShift}));  // otherwise Shift+F3
}

TEST(KeyDecoder, LineNoiseNeverHangsTheDecoder) {
  std::string noise;
  uint32_t seed = 12345;
  for (int i = 0; i < 20000; ++i) {
    seed = seed * 1103515245 + 12345;
    noise += static_cast<char>((seed >> 16) & 0xFF);
  }
  DecodedInput decoded;
  EXPECT_EQ(DecodeKeys(noise, true, true, &decoded), noise.size());
  EXPECT_EQ(decoded.records.size() % 2, 0u);
}

}  // namespace

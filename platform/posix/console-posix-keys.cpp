// The key decoder of the terminal console. What it understands, of what xterm, rxvt, the Linux
// console and tmux send (CSI is ESC [, SS3 is ESC O; m is a modifier parameter 2..16, 1 + Shift 1
// + Alt 2 + Ctrl 4 + Meta 8):
//
//   printable ASCII, UTF-8       the character (beyond U+FFFF: two keys, a surrogate pair)
//   0x01..0x1A                   Ctrl+letter, but 0x08 / 0x7F Backspace, 0x09 Tab, 0x0D Enter
//   0x00, 0x1C..0x1F             Ctrl+@, Ctrl+\ ] ^ _
//   ESC                          Esc, once no further byte has come for a while
//   ESC key                      that key with Alt (ESC ESC [ A is Alt+Up)
//   CSI A B C D, SS3 A B C D     Up, Down, Right, Left;  CSI 1;m A .. D with modifiers
//   CSI H F, SS3 H F             Home, End;  CSI E, SS3 E keypad 5
//   CSI n ~  (n;m ~)             1 7 Home, 2 Insert, 3 Delete, 4 8 End, 5 PgUp, 6 PgDn,
//                                11-15 F1-F5, 17-21 F6-F10, 23 24 F11 F12, 25 26 28 29 31-34
//                                Shift+F3..F10 (rxvt, Linux console)
//   CSI n $  n ^  n @            rxvt: the same keys with Shift, Ctrl, Ctrl+Shift
//   SS3 P Q R S, CSI 1;m P..S    F1-F4;  SS3 m P (digits before the final) with modifiers
//   CSI [ A .. E                 Linux console F1-F5
//   CSI a b c d, SS3 a b c d     rxvt Shift+arrows, Ctrl+arrows
//   CSI Z                        Shift+Tab
//   SS3 M, SS3 j..y, SS3 X       keypad Enter, * + , - . / 0-9, = (application keypad)
//   CSI row;column R             a cursor position report, when one is expected (else Shift..F3)
// Other CSI and SS3 sequences are swallowed whole; bytes that are no valid UTF-8 become U+FFFD.
#include "platform/posix/console-posix-keys.h"

#include <cstdint>

#include "platform/scan-codes.h"
#include "platform/unicode.h"

namespace pf::tty {
namespace {

constexpr unsigned char kEsc = 0x1B;
constexpr size_t kLongestSequence = 32;  // longer is line noise, not a key

struct SpecialKey {
  uint16_t scanCode;
  uint16_t virtualKey;
  bool enhanced;  // one of the grey keys beside the letters, which Windows marks as enhanced
};
constexpr SpecialKey kUp{kScanUp, 0x26, true};
constexpr SpecialKey kDown{kScanDown, 0x28, true};
constexpr SpecialKey kRight{kScanRight, 0x27, true};
constexpr SpecialKey kLeft{kScanLeft, 0x25, true};
constexpr SpecialKey kHome{kScanHome, 0x24, true};
constexpr SpecialKey kEnd{kScanEnd, 0x23, true};
constexpr SpecialKey kInsert{kScanInsert, 0x2D, true};
constexpr SpecialKey kDelete{kScanDelete, 0x2E, true};
constexpr SpecialKey kPageUp{kScanPageUp, 0x21, true};
constexpr SpecialKey kPageDown{kScanPageDown, 0x22, true};
constexpr SpecialKey kKeypad5{kScanKeypad5, 0x0C, false};
constexpr SpecialKey kNone{0, 0, false};

constexpr SpecialKey FunctionKey(int n) {  // F1..F12
  return SpecialKey{static_cast<uint16_t>(n <= 10 ? kScanF1 + n - 1 : kScanF11 + n - 11),
                    static_cast<uint16_t>(0x70 + n - 1), false};
}

// The outcome of reading one key's bytes.
struct Step {
  enum Kind { kWait, kDone } kind = kWait;
  size_t length = 0;
};
constexpr Step Wait() {
  return Step{};
}
constexpr Step Done(size_t length) {
  return Step{Step::kDone, length};
}

void PushKey(const pf::KeyEventRecord& key, uint32_t extraState, DecodedInput* out) {
  pf::InputRecord record;
  record.eventType = pf::kKeyEvent;
  record.key = key;
  record.key.controlKeyState |= extraState;
  record.key.keyDown = true;
  out->records.push_back(record);
  record.key.keyDown = false;
  out->records.push_back(record);
}

void PushSpecial(SpecialKey special, uint32_t state, DecodedInput* out) {
  if (special.scanCode == 0) return;
  pf::KeyEventRecord key;
  key.virtualScanCode = special.scanCode;
  key.virtualKeyCode = special.virtualKey;
  key.controlKeyState = state | (special.enhanced ? pf::kEnhancedKey : 0);
  PushKey(key, 0, out);
}

// Beyond U+FFFF a character comes as two keys, the halves of its surrogate pair.
void PushCharacter(char32_t cp, uint32_t state, DecodedInput* out) {
  std::u16string units;
  pf::unicode::AppendUtf16(cp, &units);
  for (char16_t unit : units) {
    pf::KeyEventRecord key;
    key.unicodeChar = unit;
    PushKey(key, state, out);
  }
}

// xterm's modifier parameter: 1 + Shift 1 + Alt 2 + Ctrl 4 + Meta 8.
uint32_t ModifierState(int parameter) {
  if (parameter < 2 || parameter > 16) return 0;
  int bits = parameter - 1;
  uint32_t state = 0;
  if (bits & 1) state |= pf::kShiftPressed;
  if (bits & (2 | 8)) state |= pf::kLeftAltPressed;
  if (bits & 4) state |= pf::kLeftCtrlPressed;
  return state;
}

// The letter finals shared by CSI and SS3.
SpecialKey LetterKey(unsigned char final) {
  constexpr char kFinals[] = "ABCDHFEPQRS";
  constexpr SpecialKey kKeys[] = {
      kUp,      kDown,          kRight,         kLeft,          kHome,         kEnd,
      kKeypad5, FunctionKey(1), FunctionKey(2), FunctionKey(3), FunctionKey(4)};
  for (int i = 0; kFinals[i] != 0; ++i) {
    if (kFinals[i] == final) return kKeys[i];
  }
  return kNone;
}

// The keys of CSI n ~.
SpecialKey TildeKey(int n, uint32_t* state) {
  constexpr SpecialKey kEditing[] = {kNone,   kHome,     kInsert, kDelete, kEnd,
                                     kPageUp, kPageDown, kHome,   kEnd};
  constexpr int kFunctionCodes[] = {11, 12, 13, 14, 15, 17, 18, 19, 20, 21, 23, 24};  // F1..F12
  constexpr int kShiftedCodes[] = {25, 26, 28, 29, 31, 32, 33, 34};  // rxvt, Linux: Shift+F3..F10
  if (n >= 1 && n <= 8) return kEditing[n];
  for (int i = 0; i < 12; ++i) {
    if (kFunctionCodes[i] == n) return FunctionKey(i + 1);
  }
  for (int i = 0; i < 8; ++i) {
    if (kShiftedCodes[i] != n) continue;
    *state |= pf::kShiftPressed;
    return FunctionKey(i + 3);
  }
  return kNone;
}

struct Parameters {
  int values[4] = {0, 0, 0, 0};  // 0: not given
  int count = 0;
  bool privateMarker = false;  // < = > ? : not a key
};

Parameters ParseParameters(std::string_view text) {
  Parameters p;
  if (!text.empty() && text[0] >= '<' && text[0] <= '?') p.privateMarker = true;
  p.count = text.empty() ? 0 : 1;
  for (char c : text) {
    if (c == ';') {
      if (p.count < 4) ++p.count;
    } else if (c >= '0' && c <= '9') {
      int& v = p.values[p.count - 1];
      if (v < 100000) v = v * 10 + (c - '0');
    }
  }
  return p;
}

// A CSI sequence whose parameters and final are known, as the key it stands for.
void InterpretCsi(const Parameters& p, unsigned char final, uint32_t state, bool reportExpected,
                  DecodedInput* out) {
  if (p.privateMarker) return;
  uint32_t modifiers = state | ModifierState(p.values[1]);
  if (final == 'R' && reportExpected && p.count == 2) {
    ++out->cursorReports;
    return;
  }
  switch (final) {
    case '~': {
      SpecialKey key = TildeKey(p.values[0], &modifiers);
      PushSpecial(key, modifiers, out);
      return;
    }
    case '$':
    case '^':
    case '@': {
      modifiers = state | (final == '^' ? 0 : pf::kShiftPressed) |
                  (final == '$' ? 0 : pf::kLeftCtrlPressed);
      SpecialKey key = TildeKey(p.values[0], &modifiers);
      PushSpecial(key, modifiers, out);
      return;
    }
    case 'Z':
      PushKey(KeyForAscii('\t'), modifiers | pf::kShiftPressed, out);
      return;
    case 'a':
      PushSpecial(kUp, modifiers | pf::kShiftPressed, out);
      return;
    case 'b':
      PushSpecial(kDown, modifiers | pf::kShiftPressed, out);
      return;
    case 'c':
      PushSpecial(kRight, modifiers | pf::kShiftPressed, out);
      return;
    case 'd':
      PushSpecial(kLeft, modifiers | pf::kShiftPressed, out);
      return;
    default:
      PushSpecial(LetterKey(final), modifiers, out);
  }
}

void InterpretSs3(const Parameters& p, unsigned char final, uint32_t state, DecodedInput* out) {
  // Old xterms put the modifier alone before the final (ESC O 5 P); newer ones as 1;m.
  uint32_t modifiers = state | ModifierState(p.count >= 2 ? p.values[1] : p.values[0]);
  if (final >= 'a' && final <= 'd') {
    PushSpecial(LetterKey(static_cast<unsigned char>(final - 'a' + 'A')),
                modifiers | pf::kLeftCtrlPressed, out);
  } else if (final == 'M') {
    PushKey(KeyForAscii('\r'), modifiers, out);
  } else if (final == 'X') {
    PushKey(KeyForAscii('='), modifiers, out);
  } else if (final >= 'j' && final <= 'y') {
    PushKey(KeyForAscii("*+,-./0123456789"[final - 'j']), modifiers, out);
  } else {
    PushSpecial(LetterKey(final), modifiers, out);
  }
}

// One UTF-8 character at the front of bytes (its first byte 0x80 or above).
Step DecodeUtf8(std::string_view bytes, bool pauseSeen, uint32_t state, DecodedInput* out) {
  using pf::unicode::Utf8Sequence;
  Utf8Sequence sequence = pf::unicode::DecodeUtf8(bytes);
  if (sequence.kind == Utf8Sequence::kCutShort && !pauseSeen) return Wait();
  bool valid = sequence.kind == Utf8Sequence::kCharacter;
  PushCharacter(valid ? sequence.code : pf::unicode::kReplacement, state, out);
  return Done(sequence.length);
}

// One key that does not start with ESC.
Step DecodePlain(std::string_view bytes, bool pauseSeen, uint32_t state, DecodedInput* out) {
  auto c = static_cast<unsigned char>(bytes[0]);
  if (c >= 0x80) return DecodeUtf8(bytes, pauseSeen, state, out);
  PushKey(KeyForAscii(static_cast<char>(c)), state, out);
  return Done(1);
}

// A sequence at the front of bytes, bytes[0] being ESC and bytes[1] '[' or 'O'.
Step DecodeSequence(std::string_view bytes, uint32_t state, bool reportExpected,
                    DecodedInput* out) {
  bool csi = bytes[1] == '[';
  size_t i = 2;
  if (csi && i < bytes.size() && bytes[i] == '[') {  // the Linux console's F1..F5
    if (i + 1 >= bytes.size()) return Wait();
    unsigned char final = static_cast<unsigned char>(bytes[i + 1]);
    if (final >= 'A' && final <= 'E') PushSpecial(FunctionKey(final - 'A' + 1), state, out);
    return Done(i + 2);
  }
  size_t parametersEnd = i;
  while (parametersEnd < bytes.size() && bytes[parametersEnd] >= 0x30 &&
         bytes[parametersEnd] <= 0x3F)
    ++parametersEnd;
  size_t finalAt = parametersEnd;
  // '$' ends rxvt's shifted keys, though it would be an intermediate byte elsewhere.
  while (finalAt < bytes.size() && bytes[finalAt] >= 0x20 && bytes[finalAt] <= 0x2F &&
         !(bytes[finalAt] == '$' && finalAt == parametersEnd)) {
    ++finalAt;
  }
  if (finalAt >= bytes.size()) {
    return finalAt > kLongestSequence ? Done(bytes.size()) : Wait();
  }
  auto final = static_cast<unsigned char>(bytes[finalAt]);
  bool isFinal = final == '$' || (final >= 0x40 && final <= 0x7E);
  if (!isFinal) return Done(finalAt);  // cut short by a control byte: drop what came before it
  Parameters p = ParseParameters(bytes.substr(i, parametersEnd - i));
  if (finalAt == parametersEnd) {
    if (csi) {
      InterpretCsi(p, final, state, reportExpected, out);
    } else {
      InterpretSs3(p, final, state, out);
    }
  }
  return Done(finalAt + 1);
}

// What an unfinished ESC sequence is taken for once the pause shows nothing more is coming.
Step SettleUnfinished(std::string_view bytes, uint32_t state, DecodedInput* out) {
  if (bytes.size() == 1) {
    PushKey(KeyForAscii(static_cast<char>(kEsc)), state, out);
    return Done(1);
  }
  if (bytes.size() == 2) {  // ESC [ or ESC O: Alt with that key
    PushKey(KeyForAscii(bytes[1]), state | pf::kLeftAltPressed, out);
    return Done(2);
  }
  return Done(bytes.size());
}

Step DecodeOne(std::string_view bytes, bool pauseSeen, bool reportExpected, DecodedInput* out) {
  if (static_cast<unsigned char>(bytes[0]) != kEsc) return DecodePlain(bytes, pauseSeen, 0, out);
  if (bytes.size() == 1) return pauseSeen ? SettleUnfinished(bytes, 0, out) : Wait();
  if (bytes[1] == '[' || bytes[1] == 'O') {
    Step step = DecodeSequence(bytes, 0, reportExpected, out);
    if (step.kind == Step::kWait && pauseSeen) return SettleUnfinished(bytes, 0, out);
    return step;
  }
  if (static_cast<unsigned char>(bytes[1]) == kEsc) {
    if (bytes.size() == 2) {
      if (!pauseSeen) return Wait();
      PushKey(KeyForAscii(static_cast<char>(kEsc)), 0, out);
      return Done(1);
    }
    if (bytes[2] == '[' || bytes[2] == 'O') {  // Alt with a key that sends a sequence
      Step step = DecodeSequence(bytes.substr(1), pf::kLeftAltPressed, reportExpected, out);
      if (step.kind == Step::kWait) {
        if (!pauseSeen) return Wait();
        step = SettleUnfinished(bytes.substr(1), pf::kLeftAltPressed, out);
      }
      return Done(step.length + 1);
    }
    PushKey(KeyForAscii(static_cast<char>(kEsc)), 0, out);  // Esc, then whatever follows
    return Done(1);
  }
  Step step = DecodePlain(bytes.substr(1), pauseSeen, pf::kLeftAltPressed, out);
  if (step.kind == Step::kWait) return step;
  return Done(step.length + 1);
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

pf::KeyEventRecord KeyForAscii(char c) {
  auto u = static_cast<unsigned char>(c);
  pf::KeyEventRecord key;
  key.unicodeChar = u;
  key.virtualScanCode = pf::ScanCodeForAscii(u);
  switch (u) {
    case 0x08:
    case 0x7F:
      key.unicodeChar = 0x08;
      key.virtualKeyCode = 0x08;
      return key;
    case 0x09:
      key.virtualKeyCode = 0x09;
      return key;
    case 0x0D:
      key.virtualKeyCode = 0x0D;
      return key;
    case 0x1B:
      key.virtualKeyCode = 0x1B;
      return key;
    case 0x00:  // Ctrl+@
      key.virtualScanCode = pf::ScanCodeForAscii('2');
      key.virtualKeyCode = '2';
      key.controlKeyState = pf::kLeftCtrlPressed | pf::kShiftPressed;
      return key;
    default:
      break;
  }
  if (u < 0x20) {
    char typed = u <= 26 ? static_cast<char>('a' + u - 1) : "\\]^_"[u - 28];
    key.virtualScanCode = pf::ScanCodeForAscii(static_cast<unsigned char>(typed));
    key.virtualKeyCode = u <= 26 ? static_cast<uint16_t>('A' + u - 1) : 0;
    key.controlKeyState = pf::kLeftCtrlPressed | (u >= 30 ? pf::kShiftPressed : 0);
    return key;
  }
  if (u >= 'a' && u <= 'z') key.virtualKeyCode = static_cast<uint16_t>(u - 'a' + 'A');
  if ((u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == ' ') key.virtualKeyCode = u;
  if (pf::NeedsShift(u)) key.controlKeyState = pf::kShiftPressed;
  return key;
}

size_t DecodeKeys(std::string_view bytes, bool pauseSeen, bool cursorReportExpected,
                  DecodedInput* out) {
  size_t used = 0;
  while (used < bytes.size()) {
    Step step = DecodeOne(bytes.substr(used), pauseSeen, cursorReportExpected, out);
    if (step.kind == Step::kWait) break;
    used += step.length;
  }
  return used;
}

bool TakeCursorReport(std::string* bytes, pf::Coord* position) {
  bool found = false;
  size_t at = 0;
  while ((at = bytes->find(static_cast<char>(kEsc), at)) != std::string::npos) {
    size_t i = at + 1;
    int numbers[2] = {0, 0};
    bool matches = i < bytes->size() && (*bytes)[i] == '[';
    for (int n = 0; matches && n < 2; ++n) {
      ++i;
      size_t digits = 0;
      while (i < bytes->size() && IsDigit((*bytes)[i]) && digits < 6) {
        numbers[n] = numbers[n] * 10 + ((*bytes)[i] - '0');
        ++i;
        ++digits;
      }
      char expected = n == 0 ? ';' : 'R';
      matches = digits > 0 && i < bytes->size() && (*bytes)[i] == expected;
    }
    if (!matches) {
      ++at;
      continue;
    }
    position->y = static_cast<int16_t>(numbers[0] > 0 ? numbers[0] - 1 : 0);
    position->x = static_cast<int16_t>(numbers[1] > 0 ? numbers[1] - 1 : 0);
    bytes->erase(at, i + 1 - at);
    found = true;
  }
  return found;
}

}  // namespace pf::tty

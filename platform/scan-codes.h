// PC keyboard scan codes of the keys that type ASCII characters, on a US layout. The line input
// filters keys by scan code, so every key record made off Windows must carry the right one.
#pragma once

#include <cstdint>

namespace pf {

inline constexpr uint16_t kScanEsc = 0x01;
inline constexpr uint16_t kScanBackspace = 0x0E;
inline constexpr uint16_t kScanTab = 0x0F;
inline constexpr uint16_t kScanEnter = 0x1C;
inline constexpr uint16_t kScanCtrl = 0x1D;
inline constexpr uint16_t kScanLeftShift = 0x2A;
inline constexpr uint16_t kScanRightShift = 0x36;
inline constexpr uint16_t kScanAlt = 0x38;
inline constexpr uint16_t kScanSpace = 0x39;
inline constexpr uint16_t kScanCapsLock = 0x3A;
inline constexpr uint16_t kScanF1 = 0x3B;  // F1..F10 are 0x3B..0x44
inline constexpr uint16_t kScanNumLock = 0x45;
inline constexpr uint16_t kScanScrollLock = 0x46;
inline constexpr uint16_t kScanHome = 0x47;
inline constexpr uint16_t kScanUp = 0x48;
inline constexpr uint16_t kScanPageUp = 0x49;
inline constexpr uint16_t kScanLeft = 0x4B;
inline constexpr uint16_t kScanKeypad5 = 0x4C;
inline constexpr uint16_t kScanRight = 0x4D;
inline constexpr uint16_t kScanEnd = 0x4F;
inline constexpr uint16_t kScanDown = 0x50;
inline constexpr uint16_t kScanPageDown = 0x51;
inline constexpr uint16_t kScanInsert = 0x52;
inline constexpr uint16_t kScanDelete = 0x53;
inline constexpr uint16_t kScanF11 = 0x57;
inline constexpr uint16_t kScanF12 = 0x58;

namespace layout {
// The four rows of the US layout that type characters, as typed alone and with Shift, and the
// scan code of each row's first key.
inline constexpr const char* kRows[] = {"1234567890-=", "qwertyuiop[]", "asdfghjkl;'`",
                                        "\\zxcvbnm,./"};
inline constexpr const char* kShifted[] = {"!@#$%^&*()_+", "QWERTYUIOP{}", "ASDFGHJKL:\"~",
                                           "|ZXCVBNM<>?"};
inline constexpr uint16_t kFirst[] = {0x02, 0x10, 0x1E, 0x2B};
}  // namespace layout

// Whether the US layout types c with Shift held: the capitals and the shifted signs.
constexpr bool NeedsShift(char32_t c) {
  for (const char* row : layout::kShifted) {
    for (int i = 0; row[i] != 0; ++i) {
      if (c == static_cast<unsigned char>(row[i])) return true;
    }
  }
  return false;
}

// The scan code of the key that types c (shifted or not, or with Ctrl for the control
// characters); 0 for characters no key of the layout types directly.
constexpr uint16_t ScanCodeForAscii(char32_t c) {
  if (c == ' ') return kScanSpace;
  if (c == '\r' || c == '\n') return kScanEnter;
  if (c == '\t') return kScanTab;
  if (c == 0x08 || c == 0x7F) return kScanBackspace;
  if (c == 0x1B) return kScanEsc;
  if (c >= 1 && c <= 26) c = 'a' + (c - 1);  // Ctrl+letter
  for (int row = 0; row < 4; ++row) {
    for (int i = 0; layout::kRows[row][i] != 0; ++i) {
      if (c == static_cast<unsigned char>(layout::kRows[row][i]) ||
          c == static_cast<unsigned char>(layout::kShifted[row][i])) {
        return static_cast<uint16_t>(layout::kFirst[row] + i);
      }
    }
  }
  return 0;
}

// The letter keys (Q..P, A..L, Z..M), which Alt turns into menu keys.
constexpr bool IsLetterScanCode(uint16_t scanCode) {
  return (scanCode >= ScanCodeForAscii('q') && scanCode <= ScanCodeForAscii('p')) ||
         (scanCode >= ScanCodeForAscii('a') && scanCode <= ScanCodeForAscii('l')) ||
         (scanCode >= ScanCodeForAscii('z') && scanCode <= ScanCodeForAscii('m'));
}

}  // namespace pf

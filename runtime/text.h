// The program's text: counted strings of bytes in the 8-bit code page, the fixed upper-case table,
// and the conversions to and from the 16-bit characters of the console, names and command lines.
#pragma once

#include <string>
#include <string_view>

// Positions in a Text are counted from 1 where the generator does arithmetic on them.
using Text = std::string;
using WideText = std::u16string;

// A copy of the same length with a-z and the lower-case accented letters of code page 437 (0x81,
// 0x82, 0x84, 0x86, 0x87, 0x94, 0xA4) made capitals; every other byte stays as it is.
Text UpperCase(std::string_view text);

WideText ToWide(std::string_view text);
Text ToNarrow(std::u16string_view wide);

// The 1-based position of the first occurrence of what in text at or after start, or 0.
size_t FindText(std::string_view text, std::string_view what, size_t start = 1);

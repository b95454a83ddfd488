// Morse on the air: the core's keying rendered as audio decodes to its text in Debian's
// morse2ascii at several speeds, and QRSS (plain and FSK-CW) keeps the stated dot length, both in
// its keying table and in the envelope or frequency of its audio.
// The decoder hears qvcode's --wav; the timing is measured on the library's audio.
#include "modes/morse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "modes/core/cw/qvk-morse.h"
#include "modes/wav-file.h"
#include "tests/outside/on-air/decoders.h"
#include "tests/support/environment.h"
#include "tests/support/needs-tool.h"
#include "tests/support/shell.h"
#include "tests/support/temp-folder.h"

namespace {

constexpr double kToneHz = 800;

std::vector<std::int16_t> Render(const modes::Encoding& encoding) {
  modes::AudioOptions options;
  options.baseFrequencyHz = kToneHz;
  std::vector<std::int16_t> samples;
  EXPECT_TRUE(modes::RenderMorseAudio(encoding, options, samples).ok);
  return samples;
}

std::string Letters(const std::string& text) {
  std::string out;
  for (char c : text)
    if (c > ' ') out += char(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  return out;
}

class MorseTest : public testsupport::TempFolderTest {};

TEST_F(MorseTest, DecodesInMorse2asciiAtSeveralSpeeds) {
  NEED_TOOL("morse2ascii", "package morse2ascii");
  const std::string text = "CQ TEST DE K1ABC K1ABC";
  for (double wpm : {12.0, 20.0, 30.0}) {
    SCOPED_TRACE(std::to_string(int(wpm)) + " WPM");
    // The program's own audio: --mode cw at the speed asked for.
    std::string command = testsupport::BinFolder() + "/qvcode --mode cw --wpm " +
                          std::to_string(int(wpm)) + " --frequency 800 --wav cw.wav " +
                          testsupport::ShellQuote(text);
    ASSERT_EQ(std::system(command.c_str()), 0);
    ASSERT_EQ(std::system("morse2ascii cw.wav >decoded.txt 2>&1"), 0);
    std::string output = testonair::ReadText("decoded.txt");
    std::string marker = "decoded morse data:";
    ASSERT_NE(output.find(marker), std::string::npos) << output;
    // Word gaps are the decoder's guess at speed; the letters must all be there, in order.
    EXPECT_EQ(Letters(output.substr(output.find(marker) + marker.size())), Letters(text));
  }
}

// Key states measured from audio in windows of `window` seconds: by amplitude for on/off keying,
// by frequency (interpolated zero crossings) for FSK-CW.
std::vector<bool> KeyStates(const std::vector<std::int16_t>& samples, double window,
                            double shiftHz) {
  std::size_t size = std::size_t(window * modes::kAudioSampleRate);
  std::vector<bool> states;
  for (std::size_t start = 0; start + size <= samples.size(); start += size) {
    if (shiftHz == 0) {
      int peak = 0;
      for (std::size_t i = start; i < start + size; ++i)
        peak = std::max(peak, std::abs(samples[i]));
      states.push_back(peak > 16000);
      continue;
    }
    double first = -1, last = -1;
    int crossings = 0;
    for (std::size_t i = start + 1; i < start + size; ++i) {
      if (samples[i - 1] < 0 && samples[i] >= 0) {
        double at = double(i - 1) + double(-samples[i - 1]) / double(samples[i] - samples[i - 1]);
        if (first < 0) first = at;
        last = at;
        ++crossings;
      }
    }
    double hz = crossings > 1 ? (crossings - 1) * modes::kAudioSampleRate / (last - first) : 0;
    states.push_back(hz > kToneHz + shiftHz / 2);
  }
  return states;
}

TEST_F(MorseTest, QrssKeepsItsDotLength) {
  struct Case {
    double dotSeconds, shiftHz;
  } cases[] = {{3, 0}, {6, 5}, {10, 0}, {10, 5}};
  const std::string text = "K1A";
  for (const Case& c : cases) {
    SCOPED_TRACE("dot " + std::to_string(int(c.dotSeconds)) + " s, shift " +
                 std::to_string(int(c.shiftHz)) + " Hz");
    modes::Encoding encoding;
    ASSERT_TRUE(
        modes::EncodeMorse(text, {.dotSeconds = c.dotSeconds, .shiftHz = c.shiftHz}, encoding).ok);
    // The table: PARIS units, and the stated dot length a unit.
    std::vector<std::uint8_t> durations(encoding.symbols.begin(), encoding.symbols.end());
    EXPECT_EQ(qvk_keying_units(durations.data(), durations.size()), encoding.tones.size());
    EXPECT_EQ(encoding.symbolPeriodSeconds, c.dotSeconds);

    // The audio: runs of key states, each as long as its duration times the dot.
    constexpr double kWindow = 0.1;
    std::vector<bool> states = KeyStates(Render(encoding), kWindow, c.shiftHz);
    std::vector<double> runs;  // seconds, from the first key down
    std::size_t i = 0;
    while (i < states.size() && !states[i]) ++i;
    while (i < states.size()) {
      std::size_t j = i;
      while (j < states.size() && states[j] == states[i]) ++j;
      if (j < states.size() || states[i]) runs.push_back(double(j - i) * kWindow);
      i = j;
    }
    ASSERT_EQ(runs.size(), durations.size());
    for (std::size_t k = 0; k < runs.size(); ++k)
      EXPECT_NEAR(runs[k], durations[k] * c.dotSeconds, 1.5 * kWindow) << "element " << k;
  }
}

TEST(MorseKeying, ParisIsFiftyUnits) {
  std::uint8_t durations[64];
  qvc_report report;
  std::size_t count = qvk_morse_keying("paris", durations, sizeof durations, &report);
  // 43 units keyed, and the 7-unit word gap before the next PARIS.
  EXPECT_EQ(qvk_keying_units(durations, count) + QVK_WORD_GAP, 50u);
  EXPECT_EQ(qvk_dot_milliseconds(20), 60);
  EXPECT_EQ(qvk_morse_keying("#", durations, sizeof durations, &report), 0u);
  EXPECT_EQ(report.status, QVC_EMPTY_MESSAGE);
  EXPECT_EQ(qvk_morse_keying("SOS", durations, 4, &report), 0u);
  EXPECT_EQ(report.status, QVK_BUFFER_TOO_SMALL);
}

}  // namespace

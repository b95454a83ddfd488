// The audio renderer's own guarantees, which a decoder would forgive: the transmission sits exactly
// where and as long as the mode says, its phase never jumps, noise follows the seed and the ratio
// asked for, and what cannot be rendered is refused in words. The WAV header is checked by byte.
#include "modes/audio.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "modes/mode.h"
#include "modes/wav-file.h"

namespace {

using modes::AudioOptions;
using modes::Encoding;

Encoding Jt65(char submode) {
  Encoding encoding;
  EXPECT_TRUE(modes::EncodeMessage(modes::Mode::kJt65, submode, "CQ K1ABC FN42", encoding).ok);
  return encoding;
}

std::vector<std::int16_t> Render(const Encoding& encoding, const AudioOptions& options) {
  std::vector<std::int16_t> samples;
  modes::AudioResult result = modes::RenderAudio(encoding, options, samples);
  EXPECT_TRUE(result.ok) << result.error;
  return samples;
}

TEST(Audio, Jt65FillsItsSymbolsExactlyFromOneSecondIntoTheMinute) {
  std::vector<std::int16_t> samples = Render(Jt65('A'), {});
  ASSERT_EQ(samples.size(), 60u * 12000);
  // 126 symbols of 4096/11025 s: 561737.1 samples, so the last falls at 12000 + 561737 - 1.
  size_t first = 0, last = 0;
  for (size_t i = 0; i < samples.size(); ++i)
    if (samples[i] != 0) last = i, first = first ? first : i;
  EXPECT_EQ(first, 12001u);  // sample 12000 is sin(0)
  EXPECT_EQ(last, 12000u + 561737 - 1);
}

TEST(Audio, ThePhaseRunsOnAcrossEveryToneChange) {
  // A tone of f Hz moves a sample by at most 2*pi*f/12000 of the amplitude; a phase jump at a
  // symbol edge would move it by far more.
  AudioOptions options;
  options.baseFrequencyHz = 500;
  std::vector<std::int16_t> samples = Render(Jt65('C'), options);
  double amplitude = 0;
  for (std::int16_t s : samples) amplitude = std::max(amplitude, std::abs(double(s)));
  double highest = 500 + 67 * 10.77;
  double largestStep = 0;
  for (size_t i = 1; i < samples.size(); ++i)
    largestStep = std::max(largestStep, std::abs(double(samples[i]) - samples[i - 1]));
  EXPECT_LE(largestStep, amplitude * 2 * M_PI * highest / 12000 + 2);
}

TEST(Audio, NoiseFollowsTheSeedAndTheRatioAskedFor) {
  AudioOptions options;
  options.addNoise = true;
  options.snrDb = -10;
  options.seed = 7;
  Encoding encoding = Jt65('A');
  std::vector<std::int16_t> once = Render(encoding, options);
  EXPECT_EQ(Render(encoding, options), once);
  options.seed = 8;
  EXPECT_NE(Render(encoding, options), once);
  // Before the signal there is noise only; with the signal the power grows by the signal's share.
  auto power = [&](size_t from, size_t to) {
    double sum = 0;
    for (size_t i = from; i < to; ++i) sum += double(once[i]) * once[i];
    return sum / double(to - from);
  };
  double noise = power(0, 12000);
  double signal = power(20000, 500000) - noise;
  double snrIn2500Hz = 10 * std::log10(signal / (noise * 2500 / 6000));
  EXPECT_NEAR(snrIn2500Hz, -10, 0.5);
}

TEST(Audio, RefusesWhatCannotBeRendered) {
  std::vector<std::int16_t> samples;
  AudioOptions options;
  options.baseFrequencyHz = 5500;  // JT65C's 66 tones reach past 6000 Hz
  modes::AudioResult result = modes::RenderAudio(Jt65('C'), options, samples);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("outside the 0 to 6000 Hz"), std::string::npos) << result.error;
  EXPECT_TRUE(samples.empty());
  options.baseFrequencyHz = 0;
  EXPECT_FALSE(modes::RenderAudio(Jt65('A'), options, samples).ok);
  options.baseFrequencyHz = 1500;
  options.addNoise = true;
  options.snrDb = NAN;
  EXPECT_FALSE(modes::RenderAudio(Jt65('A'), options, samples).ok);
  Encoding empty = Jt65('A');
  empty.tones.clear();
  EXPECT_FALSE(modes::RenderAudio(empty, {}, samples).ok);
}

TEST(WavFile, CanonicalHeaderThenLittleEndianSamples) {
  std::vector<std::int16_t> samples = {1, -2};
  std::string bytes = modes::WavFileBytes(samples, 12000);
  const unsigned char expected[] = {'R',  'I',  'F', 'F', 40,   0,    0, 0, 'W', 'A', 'V',  'E',
                                    'f',  'm',  't', ' ', 16,   0,    0, 0, 1,   0,   1,    0,
                                    0xE0, 0x2E, 0,   0,   0xC0, 0x5D, 0, 0, 2,   0,   16,   0,
                                    'd',  'a',  't', 'a', 4,    0,    0, 0, 1,   0,   0xFE, 0xFF};
  ASSERT_EQ(bytes.size(), sizeof expected);
  for (size_t i = 0; i < bytes.size(); ++i)
    EXPECT_EQ((unsigned char)bytes[i], expected[i]) << "byte " << i;
}

}  // namespace

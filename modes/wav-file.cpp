// The canonical WAV layout, written byte by byte so the result is the same on every host.
#include "modes/wav-file.h"

namespace modes {
namespace {

void PutLittleEndian(std::string& bytes, std::uint32_t value, int width) {
  for (int i = 0; i < width; ++i) bytes.push_back(char((value >> (8 * i)) & 0xFF));
}

}  // namespace

std::string WavFileBytes(std::span<const std::int16_t> samples, int sampleRate) {
  constexpr std::uint32_t kChannels = 1;
  constexpr std::uint32_t kBytesPerSample = 2;
  const std::uint32_t dataBytes = std::uint32_t(samples.size()) * kBytesPerSample;
  std::string bytes;
  bytes.reserve(44 + dataBytes);
  bytes += "RIFF";
  PutLittleEndian(bytes, 36 + dataBytes, 4);  // what follows this field
  bytes += "WAVEfmt ";
  PutLittleEndian(bytes, 16, 4);  // the size of a plain PCM format chunk
  PutLittleEndian(bytes, 1, 2);   // PCM
  PutLittleEndian(bytes, kChannels, 2);
  PutLittleEndian(bytes, std::uint32_t(sampleRate), 4);
  PutLittleEndian(bytes, std::uint32_t(sampleRate) * kChannels * kBytesPerSample, 4);
  PutLittleEndian(bytes, kChannels * kBytesPerSample, 2);
  PutLittleEndian(bytes, 8 * kBytesPerSample, 2);
  bytes += "data";
  PutLittleEndian(bytes, dataBytes, 4);
  for (std::int16_t sample : samples) PutLittleEndian(bytes, std::uint16_t(sample), 2);
  return bytes;
}

}  // namespace modes

// The bytes of a WAV file: the canonical 44-byte RIFF header for 16-bit mono PCM, then the samples,
// little-endian. Both WSJT-X decoders read this form (one of them skips the header unread).
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace modes {

std::string WavFileBytes(std::span<const std::int16_t> samples, int sampleRate);

}  // namespace modes

// JT65 through the encoder core, then the way back, to show what a receiver would print.
#include "modes/jt65-encoder.h"

#include "modes/core/jt/qvj-jt65.h"
#include "modes/fixed-text.h"
#include "modes/message-format.h"

namespace jt65 {

std::string DecodeChannelSymbols(const ChannelSymbols& channel) {
  return UnpackMessage(FromDataSymbols(DataOfCodeword(FromChannelSymbols(channel))));
}

Encoding EncodeMessage(std::string_view text) {
  qvj_message message{};
  std::uint8_t symbols[QVJ_JT65_SYMBOLS];
  std::uint8_t tones[QVJ_JT65_TONES];
  qvc_report report{};
  qvj_jt65_encode(std::string(text).c_str(), &message, symbols, tones, &report);
  Encoding encoding;
  encoding.message = std::string(message.text, kMessageLength);
  encoding.ooo = message.ooo != 0;
  encoding.changes = report.changes;
  if (report.status == QVJ_SHORTHAND) {
    encoding.type = MessageType::kShorthand;
    encoding.decoded = Fixed(TrimRight(SplitOooFlag(encoding.message).message), kMessageLength);
    return encoding;
  }
  encoding.type = static_cast<MessageType>(message.type);
  std::uint8_t data[12];
  qvj_jt65_data_symbols(message.source, data);
  for (int i = 0; i < 12; ++i) encoding.data[i] = data[i];
  for (int i = 0; i < QVJ_JT65_SYMBOLS; ++i) encoding.channel[i] = symbols[i];
  for (int i = 0; i < QVJ_JT65_TONES; ++i) encoding.tones[i] = tones[i];

  std::string decoded = DecodeChannelSymbols(encoding.channel);
  // A receiver shows the flag in the last three positions.
  if (encoding.ooo) decoded.replace(19, 3, "OOO");
  encoding.decoded = NormaliseMessage(decoded);
  return encoding;
}

}  // namespace jt65

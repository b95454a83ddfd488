// JT4's sync vector and its inverted-sync rule, from the encoder core.
#include "modes/jt4-encoder.h"

#include "modes/core/jt/qvj-jt4.h"
#include "modes/fixed-text.h"

namespace jt4 {

const modes::Bits& SyncVector() {
  static const modes::Bits sync = [] {
    modes::Bits bits(QVJ_JT4_TONES);
    for (int i = 0; i < QVJ_JT4_TONES; ++i) bits[i] = qvj_jt4_sync_bit(std::uint8_t(i));
    return bits;
  }();
  return sync;
}

bool InvertsSync(const std::string& message) {
  return qvj_jt4_inverts_sync(jt65::Fixed(message, jt65::kMessageLength).data()) != 0;
}

}  // namespace jt4

// (placeholder)
#include "tools/qvbench/i2c-usi.h"
namespace qvbench {
void UsiAttach(UsiBus& bus, avr_t* chip, I2cDevice device) {
  bus.chip = chip;
  bus.device = std::move(device);
}
}  // namespace qvbench

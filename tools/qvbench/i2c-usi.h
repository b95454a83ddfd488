// The ATtiny85's USI in its two-wire mode, which simavr does not model: the bench follows the
// firmware's writes to the USI registers and port B, drives the shift register, its counter and
// the SDA/SCL lines as the datasheet describes, and hands the bytes on the bus to a device.
#pragma once

#include <sim_avr.h>

#include <cstdint>
#include <functional>

namespace qvbench {

struct I2cDevice {
  std::function<bool(std::uint8_t)> address;  // true: acknowledged
  std::function<bool(std::uint8_t)> data;
  std::function<void()> stop;
};

struct UsiBus {
  avr_t* chip = nullptr;
  I2cDevice device;
  bool sclHigh = true, sdaHigh = true;  // the lines as they are
  std::uint8_t outputLatch = 0x80;      // the SDA output latch (bit 7)
  int bitCount = -1;                    // bits of the byte on the wire; -1: no transfer
  std::uint8_t byte = 0;
  bool addressed = false;  // the next byte is an address
  bool pullAck = false;    // the device holds SDA low for the acknowledge bit
};

void UsiAttach(UsiBus& bus, avr_t* chip, I2cDevice device);

}  // namespace qvbench

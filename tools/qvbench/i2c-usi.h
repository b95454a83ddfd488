// The ATtiny85's USI in its two-wire mode, which simavr does not model: the bench follows the
// firmware's writes to the USI registers and to port B, shifts the data register, counts the
// clock edges and drives SDA (PB0) and SCL (PB2) as the datasheet describes, and reads the bus's
// START, bytes and STOP from the levels of the two lines, answering for the device on it.
#pragma once

#include <sim_avr.h>

#include <cstdint>
#include <functional>

namespace qvbench {

struct I2cDevice {
  std::function<bool(std::uint8_t)> address;  // the first byte after a START; true: acknowledged
  std::function<bool(std::uint8_t)> data;     // each later byte
  std::function<void()> stop;                 // a STOP, or a START that repeats
};

struct UsiBus {
  avr_t* chip = nullptr;
  I2cDevice device;
  bool sda = true, scl = true;  // the lines' levels
  bool latch = true;            // the SDA output latch: the data register's top bit
  int bit = -1;                 // bits of the byte on the bus so far; -1: no transaction
  bool addressByte = false;
  std::uint8_t byte = 0;
  bool acknowledging = false;  // the device holds SDA low for the acknowledge bit
  bool acknowledge = false;    // its answer to the byte just received
};

// Hooks the bus to the chip; the bus must outlive the run.
void UsiAttach(UsiBus& bus, avr_t* chip, I2cDevice device);

}  // namespace qvbench

// The USI in two-wire mode with the software clock strobe (USIWM 10, USICS 10, USICLK 1): each
// write of USITC to USICR toggles SCL's port bit and counts one edge in the 4-bit counter, whose
// overflow sets USIOIF; the data register shifts in SDA on each rising edge of SCL; SDA is pulled
// low when its port bit or the output latch (the data register's top bit, held while SCL is high)
// is 0 and the pin is an output, or when the device acknowledges.
#include "tools/qvbench/i2c-usi.h"

#include <avr_ioport.h>
#include <sim_io.h>

namespace qvbench {
namespace {

// Data-space addresses of the ATtiny85's registers, and its bits.
constexpr avr_io_addr_t kUsicr = 0x2D, kUsisr = 0x2E, kUsidr = 0x2F;
constexpr avr_io_addr_t kDdrb = 0x37, kPortb = 0x38;
constexpr std::uint8_t kSda = 1 << 0, kScl = 1 << 2;
constexpr std::uint8_t kUsitc = 1 << 0, kUsiclk = 1 << 1, kUsiwm1 = 1 << 5, kUsioif = 1 << 6;

bool TwoWire(const UsiBus& bus) {
  return bus.chip->data[kUsicr] & kUsiwm1;
}

// The lines as the chip and the device drive them; the bus's events from their changes.
void Settle(UsiBus& bus) {
  const std::uint8_t* data = bus.chip->data;
  const bool sclLow = (data[kDdrb] & kScl) && !(data[kPortb] & kScl);
  const bool sdaDriven =
      (data[kDdrb] & kSda) && (!(data[kPortb] & kSda) || (TwoWire(bus) && !bus.latch));
  const bool scl = !sclLow, sda = !sdaDriven && !bus.acknowledging;
  const bool sclRose = scl && !bus.scl, sclFell = !scl && bus.scl;
  const bool sdaRose = sda && !bus.sda, sdaFell = !sda && bus.sda;
  bus.scl = scl;
  bus.sda = sda;
  if (scl && !sclRose && sdaFell) {  // START (or a repeated one)
    if (bus.bit >= 0) bus.device.stop();
    bus.bit = 0;
    bus.addressByte = true;
    bus.byte = 0;
    return;
  }
  if (scl && !sclRose && sdaRose) {  // STOP
    if (bus.bit >= 0) bus.device.stop();
    bus.bit = -1;
    return;
  }
  if (sclRose) {
    if (TwoWire(bus)) bus.chip->data[kUsidr] = std::uint8_t(bus.chip->data[kUsidr] << 1 | sda);
    if (bus.bit >= 0 && bus.bit < 8) {
      bus.byte = std::uint8_t(bus.byte << 1 | sda);
      if (++bus.bit == 8) {
        bus.acknowledge =
            bus.addressByte ? bus.device.address(bus.byte) : bus.device.data(bus.byte);
        bus.addressByte = false;
      }
    } else if (bus.bit == 8) {
      bus.bit = 9;  // the acknowledge bit's clock
    }
  }
  if (sclFell) {
    bus.latch = bus.chip->data[kUsidr] & 0x80;
    if (bus.bit == 8 && bus.acknowledge && !bus.acknowledging) {
      bus.acknowledging = true;
      Settle(bus);
    } else if (bus.bit == 9) {
      bus.acknowledging = false;
      bus.bit = 0;
      bus.byte = 0;
      Settle(bus);
    }
  }
}

void PortChanged(avr_irq_t*, uint32_t, void* param) {
  Settle(*static_cast<UsiBus*>(param));
}

void DataWritten(avr_t* chip, avr_io_addr_t, uint8_t value, void* param) {
  UsiBus& bus = *static_cast<UsiBus*>(param);
  chip->data[kUsidr] = value;
  if (!bus.scl) bus.latch = value & 0x80;  // the latch follows while SCL is low
  Settle(bus);
}

void StatusWritten(avr_t* chip, avr_io_addr_t, uint8_t value, void*) {
  // Flags clear where a 1 is written; the counter takes the low four bits.
  const std::uint8_t flags = chip->data[kUsisr] & 0xF0 & std::uint8_t(~(value & 0xE0));
  chip->data[kUsisr] = flags | (value & 0x0F);
}

void ControlWritten(avr_t* chip, avr_io_addr_t, uint8_t value, void*) {
  chip->data[kUsicr] = value & std::uint8_t(~kUsitc);  // the strobe reads as 0
  if (!(value & kUsitc)) return;
  if (value & kUsiclk) {
    const std::uint8_t status = chip->data[kUsisr];
    const std::uint8_t count = (status + 1) & 0x0F;
    chip->data[kUsisr] = std::uint8_t((status & 0xF0) | count | (count == 0 ? kUsioif : 0));
  }
  // Through the port's own write handler, as an instruction's write goes: the pin, its
  // interrupts and the bus (through PortChanged) follow.
  const auto& port = chip->io[AVR_DATA_TO_IO(kPortb)].w;
  const std::uint8_t toggled = chip->data[kPortb] ^ kScl;
  if (port.c != nullptr)
    port.c(chip, kPortb, toggled, port.param);
  else
    chip->data[kPortb] = toggled;
}

}  // namespace

void UsiAttach(UsiBus& bus, avr_t* chip, I2cDevice device) {
  bus.chip = chip;
  bus.device = std::move(device);
  avr_register_io_write(chip, kUsidr, DataWritten, &bus);
  avr_register_io_write(chip, kUsisr, StatusWritten, &bus);
  avr_register_io_write(chip, kUsicr, ControlWritten, &bus);
  avr_irq_register_notify(avr_io_getirq(chip, AVR_IOCTL_IOPORT_GETIRQ('B'), IOPORT_IRQ_REG_PORT),
                          PortChanged, &bus);
  avr_irq_register_notify(
      avr_io_getirq(chip, AVR_IOCTL_IOPORT_GETIRQ('B'), IOPORT_IRQ_DIRECTION_ALL), PortChanged,
      &bus);
}

}  // namespace qvbench

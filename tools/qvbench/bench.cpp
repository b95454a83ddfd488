// The bench in simavr's library: the I2C bus (the ATmega328P's TWI, or the ATtiny85's USI as
// i2c-usi.h models it) delivers each write to the Si5351 model, which notes its output after
// every transaction; cycle timers raise the PPS pin and feed the NMEA sentences byte by byte at
// the UART's pace. The chip runs without per-cycle callbacks, and sleeps are skipped rather than
// waited out, so a two-minute transmission takes a fraction of a second.
#include "tools/qvbench/bench.h"

#include <avr_ioport.h>
#include <avr_twi.h>
#include <avr_uart.h>
#include <sim_avr.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "tools/qvbench/firmware-file.h"
#include "tools/qvbench/gps-feed.h"
#include "tools/qvbench/i2c-usi.h"
#include "tools/qvbench/rf-record.h"

namespace qvbench {
namespace {

struct Bench {
  const BenchSetup* setup = nullptr;
  BenchRecord* record = nullptr;
  avr_t* chip = nullptr;
  Si5351 synth;
  // The I2C write in progress.
  bool selected = false;
  int pointer = -1;  // the register the next data byte goes to; -1 until it is sent
  ClockOutput last;
  // The GPS.
  avr_irq_t* ppsPin = nullptr;
  avr_irq_t* uartIn = nullptr;
  avr_cycle_count_t ppsFirstCycle = 0;
  long pulses = 0;
  std::string pending;  // NMEA bytes still to send
  size_t sent = 0;
  avr_cycle_count_t byteCycles = 0;
  UsiBus usi;
};

double Utc(const Bench& bench) {
  return bench.setup->startUtc + double(bench.chip->cycle) / bench.setup->cpuHz;
}

// --- The Si5351 on the bus ---

bool AddressByte(Bench& bench, std::uint8_t byte) {
  bench.selected = (byte >> 1) == kSi5351Address && (byte & 1) == 0;
  bench.pointer = -1;
  return bench.selected;
}

bool DataByte(Bench& bench, std::uint8_t byte) {
  if (!bench.selected) return false;
  ++bench.record->i2cBytes;
  if (bench.pointer < 0) {
    bench.pointer = byte;
  } else {
    bench.synth.registers[bench.pointer & 0xFF] = byte;
    bench.pointer = (bench.pointer + 1) & 0xFF;
  }
  return true;
}

// The end of a transaction: the output as the registers now set it.
void TransactionEnd(Bench& bench) {
  if (!bench.selected) return;
  bench.selected = false;
  ++bench.record->i2cTransactions;
  ClockOutput now = Si5351Output(bench.synth, bench.setup->clockOutput);
  const double utc = Utc(bench);
  if (!now.fault.empty() && now.fault != bench.last.fault) {
    bench.record->faults.push_back(ClockText(utc) + ": " + now.fault);
  }
  if (now.on != bench.last.on || now.hz != bench.last.hz)
    bench.record->steps.push_back({utc, now.on, now.hz});
  bench.last = now;
}

void TwiMessage(avr_irq_t*, uint32_t value, void* param) {
  Bench& bench = *static_cast<Bench*>(param);
  avr_twi_msg_irq_t message;
  message.u.v = value;
  const unsigned what = message.u.twi.msg;
  avr_irq_t* answer = avr_io_getirq(bench.chip, AVR_IOCTL_TWI_GETIRQ(0), TWI_IRQ_INPUT);
  if (what & (TWI_COND_STOP | TWI_COND_START)) TransactionEnd(bench);  // also a repeated start
  // simavr's TWI names the address byte in its START message (or, in some versions, an ADDR one).
  bool ack = false;
  if (what & (TWI_COND_START | TWI_COND_ADDR))
    ack = AddressByte(bench, message.u.twi.addr);
  else if (what & TWI_COND_WRITE)
    ack = DataByte(bench, message.u.twi.data);
  if (ack) avr_raise_irq(answer, avr_twi_irq_msg(TWI_COND_ACK, message.u.twi.addr, 1));
}

// --- The GPS receiver ---

avr_cycle_count_t SendByte(avr_t*, avr_cycle_count_t when, void* param) {
  Bench& bench = *static_cast<Bench*>(param);
  if (bench.sent >= bench.pending.size()) return 0;
  avr_raise_irq(bench.uartIn, std::uint8_t(bench.pending[bench.sent++]));
  return when + bench.byteCycles;
}

avr_cycle_count_t PulseEnds(avr_t*, avr_cycle_count_t, void* param) {
  Bench& bench = *static_cast<Bench*>(param);
  avr_raise_irq(bench.ppsPin, 0);
  return 0;
}

// The sentences follow a pulse by 80 ms, as many receivers send them.
avr_cycle_count_t Pulse(avr_t* chip, avr_cycle_count_t when, void* param) {
  Bench& bench = *static_cast<Bench*>(param);
  const BenchSetup& setup = *bench.setup;
  const long second = long(std::ceil(setup.startUtc - 1e-9)) + bench.pulses;
  const avr_cycle_count_t perSecond = avr_cycle_count_t(setup.cpuHz);
  if (bench.ppsPin != nullptr && second % setup.ppsEverySeconds == 0) {
    avr_raise_irq(bench.ppsPin, 1);
    avr_cycle_timer_register(chip, perSecond / 10, PulseEnds, param);
  }
  if (bench.uartIn != nullptr) {
    bench.pending =
        GpsSentences(int(second % 86400), second >= setup.startUtc + setup.fixAfterSeconds);
    bench.sent = 0;
    avr_cycle_timer_register(chip, perSecond * 8 / 100, SendByte, param);
  }
  ++bench.pulses;
  return when + perSecond;
}

// simavr paces a sleeping chip to the wall clock; the bench wants simulated time only.
void SleepNotAtAll(avr_t*, avr_cycle_count_t) {}

// simavr's messages (firmware loaded, registers it does not model) are not the bench's output.
void Quiet(avr_t*, const int, const char*, va_list) {}

void UartOut(avr_irq_t*, uint32_t value, void* param) {
  static_cast<Bench*>(param)->record->uartText += char(value & 0xFF);
}

bool Load(const BenchSetup& setup, avr_t*& chip, std::string& error) {
  avr_global_logger_set(Quiet);
  std::vector<std::uint8_t> flash;
  if (!ReadFirmware(setup.firmware, flash, error)) return false;
  chip = avr_make_mcu_by_name(setup.mcu.c_str());
  if (chip == nullptr || avr_init(chip) != 0) {
    error = "simavr has no chip named " + setup.mcu;
    return false;
  }
  chip->log = 0;
  if (flash.size() > chip->flashend + 1u) {
    error = setup.firmware + " does not fit the chip's flash";
    return false;
  }
  avr_loadcode(chip, flash.data(), std::uint32_t(flash.size()), 0);
  chip->frequency = std::uint32_t(setup.cpuHz);
  chip->sleep = SleepNotAtAll;
  return true;
}

}  // namespace

bool RunBench(const BenchSetup& setup, BenchRecord& record, std::string& error) {
  if (setup.mcu != "atmega328p" && setup.mcu != "attiny85") {
    error = "the bench has an atmega328p (I2C on its TWI) and an attiny85 (on its USI), not " +
            setup.mcu;
    return false;
  }
  Bench bench;
  bench.setup = &setup;
  bench.record = &record;
  bench.synth = Si5351AtPowerUp(setup.crystalHz);
  if (!Load(setup, bench.chip, error)) return false;
  avr_t* chip = bench.chip;
  const bool tiny = setup.mcu == "attiny85";
  if (tiny)
    UsiAttach(bench.usi, chip,
              {[&bench](std::uint8_t b) { return AddressByte(bench, b); },
               [&bench](std::uint8_t b) { return DataByte(bench, b); },
               [&bench] { TransactionEnd(bench); }});
  else
    avr_irq_register_notify(avr_io_getirq(chip, AVR_IOCTL_TWI_GETIRQ(0), TWI_IRQ_OUTPUT),
                            TwiMessage, &bench);
  if (setup.pps.port != 0)
    bench.ppsPin = avr_io_getirq(chip, AVR_IOCTL_IOPORT_GETIRQ(setup.pps.port), setup.pps.bit);
  if (setup.gps && !tiny) {  // the ATtiny85 has no UART
    uint32_t flags = 0;      // no console echo, no wall-clock naps while the firmware polls
    avr_ioctl(chip, AVR_IOCTL_UART_SET_FLAGS('0'), &flags);
    bench.uartIn = avr_io_getirq(chip, AVR_IOCTL_UART_GETIRQ('0'), UART_IRQ_INPUT);
    avr_irq_register_notify(avr_io_getirq(chip, AVR_IOCTL_UART_GETIRQ('0'), UART_IRQ_OUTPUT),
                            UartOut, &bench);
    // Ten bits at 9600 baud, and a little slack so simavr's receive queue never fills.
    bench.byteCycles = avr_cycle_count_t(setup.cpuHz * 10 / 9600 * 1.02);
  }
  const double firstSecond = std::ceil(setup.startUtc - 1e-9);
  avr_cycle_timer_register(
      chip,
      avr_cycle_count_t((firstSecond - setup.startUtc + setup.ppsLateSeconds) * setup.cpuHz) + 1,
      Pulse, &bench);

  const avr_cycle_count_t limit = avr_cycle_count_t(setup.runSeconds * setup.cpuHz);
  int state = cpu_Running;
  while (state != cpu_Done && state != cpu_Crashed && chip->cycle < limit) state = avr_run(chip);
  record.end = state == cpu_Done      ? "sleeping for good"
               : state == cpu_Crashed ? "crashed"
                                      : "running";
  record.simulatedSeconds = double(chip->cycle) / setup.cpuHz;
  avr_terminate(chip);
  return true;
}

}  // namespace qvbench

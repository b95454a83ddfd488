// avr-port-trace FIRMWARE.elf SECONDS: runs an ATmega328P firmware in simavr's library at 16 MHz
// and prints every write to PORTB and PORTD as "CYCLE PORT VALUE" (PORT B or D), until the
// firmware sleeps for good or SECONDS of simulated time have passed. The on-air tests read it.
#include <avr_ioport.h>
#include <sim_avr.h>
#include <sim_elf.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr unsigned long kClockHz = 16000000;

struct WatchedPort {
  avr_t* chip;
  char name;
};

void PortWritten(struct avr_irq_t*, uint32_t value, void* watched) {
  const WatchedPort& port = *static_cast<const WatchedPort*>(watched);
  std::printf("%llu %c %u\n", static_cast<unsigned long long>(port.chip->cycle), port.name,
              value & 0xFF);
}

// simavr paces a sleeping chip to the wall clock; a test wants the simulated time only.
void SleepNotAtAll(avr_t*, avr_cycle_count_t) {}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: avr-port-trace FIRMWARE.elf SECONDS\n");
    return 2;
  }
  elf_firmware_t firmware{};
  if (elf_read_firmware(argv[1], &firmware) != 0) {
    std::fprintf(stderr, "avr-port-trace: cannot read %s\n", argv[1]);
    return 1;
  }
  avr_t* chip = avr_make_mcu_by_name("atmega328p");
  if (chip == nullptr || avr_init(chip) != 0) {
    std::fprintf(stderr, "avr-port-trace: simavr has no ATmega328P\n");
    return 1;
  }
  avr_load_firmware(chip, &firmware);
  chip->frequency = kClockHz;
  chip->log = 0;
  chip->sleep = SleepNotAtAll;
  WatchedPort ports[] = {{chip, 'B'}, {chip, 'D'}};
  for (WatchedPort& port : ports) {
    avr_irq_t* written =
        avr_io_getirq(chip, AVR_IOCTL_IOPORT_GETIRQ(port.name), IOPORT_IRQ_REG_PORT);
    // Every write, also of the value the port already holds.
    avr_irq_set_flags(written, avr_irq_get_flags(written) & ~IRQ_FLAG_FILTERED);
    avr_irq_register_notify(written, PortWritten, &port);
  }
  const unsigned long long limit = std::strtoull(argv[2], nullptr, 10) * kClockHz;
  int state = cpu_Running;
  while (state != cpu_Done && state != cpu_Crashed && chip->cycle < limit) state = avr_run(chip);
  std::printf("end %llu %s\n", static_cast<unsigned long long>(chip->cycle),
              state == cpu_Done      ? "done"
              : state == cpu_Crashed ? "crashed"
                                     : "running");
  return state == cpu_Crashed ? 1 : 0;
}

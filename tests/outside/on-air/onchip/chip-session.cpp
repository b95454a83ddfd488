// The simavr side of the on-chip harness: loading a firmware, finding its exchange block by name,
// and running one encode at a time with the cycles counted and the lowest stack pointer tracked
// after every instruction.
#include "tests/outside/on-air/onchip/chip-session.h"

#include <sim_avr.h>
#include <sim_elf.h>

#include <cstring>

namespace testonchip {

namespace {

// Where avr-gcc's linker puts the data space of an ELF: addresses of RAM start here.
constexpr std::uint32_t kDataOffset = 0x800000;
// The stack pointer's two bytes in the data space (the same on every AVR simavr knows).
constexpr std::uint16_t kStackLow = 0x5D, kStackHigh = 0x5E;
// Bytes of the exchange block before its text: state, status, word start and length, four bytes
// of changes, the symbol and tone counts and the text's capacity.
enum IoOffset : unsigned {
  kState = 0,
  kStatus = 1,
  kChanges = 4,
  kSymbolCount = 8,
  kToneCount = 9,
  kTextCapacity = 10,
  kText = 11
};
enum State : std::uint8_t { kWaiting = 1, kRequest = 2 };
// No encode takes this long: a firmware still running after it is stuck.
constexpr std::uint64_t kCycleLimit = 20000000;

// simavr paces a sleeping chip to the wall clock; a test wants the simulated time only.
void SleepNotAtAll(avr_t*, avr_cycle_count_t) {}

bool FindSymbol(const elf_firmware_t& elf, const char* name, std::uint32_t& address) {
  for (std::uint32_t i = 0; i < elf.symbolcount; ++i) {
    if (std::strcmp(elf.symbol[i]->symbol, name) == 0) {
      address = elf.symbol[i]->addr;
      return true;
    }
  }
  return false;
}

unsigned StackPointer(const avr_t* chip) {
  return chip->data[kStackLow] | unsigned(chip->data[kStackHigh]) << 8;
}

// The instruction at byte address pc is "out SPL, r" (0x3d) or "out SREG, r" (0x3f).
bool WritesStackLowOrStatus(const avr_t* chip, avr_flashaddr_t pc) {
  if (pc + 1 > chip->flashend) return false;
  unsigned op = chip->flash[pc] | unsigned(chip->flash[pc + 1]) << 8;
  return (op & 0xFE0F) == 0xBE0D || (op & 0xFE0F) == 0xBE0F;
}

// Runs until the firmware waits for a message again, tracking the lowest stack pointer. A
// function that makes its frame writes the stack pointer's high byte first, then the status
// register and the low byte: between those writes the pointer is neither the old nor the new
// one (up to 255 bytes off when the frame crosses a 256-byte boundary), so it is not read there.
bool RunUntilWaiting(ChipFirmware& firmware, unsigned& lowestStack) {
  avr_t* chip = firmware.chip;
  const std::uint64_t limit = chip->cycle + kCycleLimit;
  int state = cpu_Running;
  while (chip->data[firmware.io + kState] != kWaiting) {
    if (state == cpu_Done || state == cpu_Crashed || chip->cycle > limit) return false;
    state = avr_run(chip);
    if (WritesStackLowOrStatus(chip, chip->pc)) continue;
    unsigned sp = StackPointer(chip);
    if (sp < lowestStack) lowestStack = sp;
  }
  return true;
}

}  // namespace

void ChipDeleter::operator()(ChipFirmware* firmware) const {
  if (firmware->chip != nullptr) avr_terminate(firmware->chip);
  delete firmware;
}

ChipHandle LoadFirmware(const std::string& elfPath, const std::string& mcu) {
  ChipHandle firmware(new ChipFirmware);
  elf_firmware_t elf{};
  if (elf_read_firmware(elfPath.c_str(), &elf) != 0) {
    firmware->error = "simavr cannot read " + elfPath;
    return firmware;
  }
  std::uint32_t io = 0, symbols = 0, tones = 0, ramStart = 0, bssEnd = 0;
  if (!FindSymbol(elf, "qv_io", io) || !FindSymbol(elf, "qv_symbols", symbols) ||
      !FindSymbol(elf, "qv_tones", tones) || !FindSymbol(elf, "__bss_end", bssEnd) ||
      !FindSymbol(elf, "__DATA_REGION_ORIGIN__", ramStart)) {
    firmware->error = elfPath + " lacks qv_io, qv_symbols, qv_tones or the linker's RAM symbols";
    return firmware;
  }
  firmware->io = std::uint16_t(io - kDataOffset);
  firmware->symbols = std::uint16_t(symbols - kDataOffset);
  firmware->tones = std::uint16_t(tones - kDataOffset);
  firmware->staticBytes = bssEnd - ramStart;
  firmware->staticEnd = bssEnd - kDataOffset;
  avr_t* chip = avr_make_mcu_by_name(mcu.c_str());
  if (chip == nullptr || avr_init(chip) != 0) {
    firmware->error = "simavr has no " + mcu;
    return firmware;
  }
  firmware->chip = chip;
  avr_load_firmware(chip, &elf);
  chip->frequency = 16000000;
  chip->log = 0;
  chip->sleep = SleepNotAtAll;
  unsigned lowest = ~0u;
  if (!RunUntilWaiting(*firmware, lowest)) {
    firmware->error = elfPath + " did not come to wait for a message";
    return firmware;
  }
  const std::uint8_t* block = chip->data + firmware->io;
  firmware->symbolCount = block[kSymbolCount];
  firmware->toneCount = block[kToneCount];
  firmware->textCapacity = block[kTextCapacity];
  return firmware;
}

ChipEncoding EncodeOnChip(ChipFirmware& firmware, std::string_view text) {
  ChipEncoding result;
  avr_t* chip = firmware.chip;
  if (chip == nullptr || text.size() + 1 > firmware.textCapacity) return result;
  std::uint8_t* block = chip->data + firmware.io;
  std::memcpy(block + kText, text.data(), text.size());
  block[kText + text.size()] = 0;
  // Last encode's outputs are cleared, so nothing stale can pass for an answer.
  std::memset(chip->data + firmware.symbols, 0xEE, firmware.symbolCount);
  std::memset(chip->data + firmware.tones, 0xEE, firmware.toneCount);
  const unsigned waitingStack = StackPointer(chip);
  unsigned lowest = waitingStack;
  const std::uint64_t start = chip->cycle;
  block[kState] = kRequest;
  if (!RunUntilWaiting(firmware, lowest)) return result;
  result.finished = true;
  result.cycles = chip->cycle - start;
  result.stackBytes = waitingStack - lowest;
  // The stack pointer points at the next free byte: the byte at `lowest` is still free.
  result.headroom = int(lowest) + 1 - int(firmware.staticEnd);
  result.status = block[kStatus];
  for (unsigned i = 0; i < 4; ++i) result.changes |= std::uint32_t(block[kChanges + i]) << (8 * i);
  result.symbols.assign(chip->data + firmware.symbols,
                        chip->data + firmware.symbols + firmware.symbolCount);
  result.tones.assign(chip->data + firmware.tones,
                      chip->data + firmware.tones + firmware.toneCount);
  return result;
}

std::string RunToEndAndRead(const std::string& elfPath, const std::string& mcu, const char* buffer,
                            std::string& error) {
  elf_firmware_t elf{};
  std::uint32_t address = 0;
  if (elf_read_firmware(elfPath.c_str(), &elf) != 0 || !FindSymbol(elf, buffer, address)) {
    error = "simavr cannot read " + elfPath + " or find " + buffer + " in it";
    return "";
  }
  ChipHandle firmware(new ChipFirmware);
  avr_t* chip = avr_make_mcu_by_name(mcu.c_str());
  if (chip == nullptr || avr_init(chip) != 0) {
    error = "simavr has no " + mcu;
    return "";
  }
  firmware->chip = chip;
  avr_load_firmware(chip, &elf);
  chip->frequency = 16000000;
  chip->log = 0;
  chip->sleep = SleepNotAtAll;
  int state = cpu_Running;
  while (state != cpu_Done && state != cpu_Crashed && chip->cycle < kCycleLimit)
    state = avr_run(chip);
  if (state != cpu_Done) {
    error = elfPath + (state == cpu_Crashed ? " crashed" : " did not stop");
    return "";
  }
  const char* text = reinterpret_cast<const char*>(chip->data + (address - kDataOffset));
  return std::string(text, strnlen(text, chip->ramend + 1 - (address - kDataOffset)));
}

}  // namespace testonchip

// The simulated bench: a beacon's firmware running in simavr, an Si5351 on its I2C bus, a GPS
// receiver on its UART and PPS pin, all timed from one simulated UTC clock; out comes the
// radio frequency the beacon made, step by step.
#pragma once

#include <string>
#include <vector>

#include "tools/qvbench/si5351-model.h"

namespace qvbench {

struct Pin {
  char port = 0;  // 'B', 'D', ...; 0: not wired
  int bit = 0;
};

struct BenchSetup {
  std::string firmware;            // an ELF or Intel HEX file
  std::string mcu = "atmega328p";  // or attiny85
  double cpuHz = 16e6;
  double crystalHz = 25e6;     // the Si5351's
  int clockOutput = 0;         // the Si5351 output that feeds the antenna
  Pin pps;                     // a rising edge on each pulse
  int ppsEverySeconds = 1;     // 60 or 120 for a minute pulse
  double ppsLateSeconds = 0;   // the pulse (and the sentences) come this long after the second
  bool gps = true;             // NMEA on the UART (ATmega328P's USART0), 9600 baud
  double startUtc = 0;         // seconds of the day at power-up
  double fixAfterSeconds = 3;  // the receiver reports no fix until then
  double runSeconds = 130;     // simulated time
};

// The output after one I2C write transaction changed it.
struct RfStep {
  double utc;  // seconds of the day, when the write ended (its STOP)
  bool on;
  double hz;
};

struct BenchRecord {
  std::vector<RfStep> steps;
  std::vector<std::string> faults;  // settings the chip cannot make, each with its time
  long i2cTransactions = 0;
  long i2cBytes = 0;
  std::string uartText;  // what the firmware wrote on its UART
  std::string end;       // "running", "sleeping for good" or "crashed"
  double simulatedSeconds = 0;
};

// Runs the firmware; false with an error in words when it cannot be loaded or the chip is not
// one the bench has.
bool RunBench(const BenchSetup& setup, BenchRecord& record, std::string& error);

}  // namespace qvbench

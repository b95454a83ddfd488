// qvbench: runs a beacon's firmware on a simulated bench (simavr, an Si5351 on I2C, a GPS on the
// UART and PPS pin) and prints what it sent (transmissions against their slots, tones, symbol
// timing, the Morse after them) and what WSJT-X's decoders and a Morse decoder made of it.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "tools/qvbench/bench.h"
#include "tools/qvbench/decode-run.h"
#include "tools/qvbench/report.h"

namespace {

// A new folder of its own under the system's temporary folder, for the decoders' files; empty
// when none can be made.
std::string NewWorkFolder() {
  std::error_code error;
  std::filesystem::path base = std::filesystem::temp_directory_path(error);
  if (error) return {};
  std::random_device entropy;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path folder = base / ("qvbench." + std::to_string(entropy()));
    if (std::filesystem::create_directory(folder, error)) return folder.string();
  }
  return {};
}

constexpr const char* kUsage =
    "Usage: qvbench [OPTIONS] FIRMWARE\n"
    "Runs a beacon firmware (ELF or Intel HEX) in simavr with an Si5351 on its I2C bus and a GPS\n"
    "receiver on its UART and PPS pin, and prints what it sent and what the decoders heard.\n"
    "\n"
    "  -m, --mode MODE        wspr or ft8 (default wspr)\n"
    "      --mcu CHIP         atmega328p (I2C on its TWI, GPS on USART0; the default) or\n"
    "                         attiny85 (I2C on its USI: SDA PB0, SCL PB2; no UART)\n"
    "      --cpu-hz HZ        the chip's clock (default 16000000)\n"
    "      --synth CHIP       the synthesiser on the bus: si5351 (address 0x60)\n"
    "      --crystal HZ       its crystal (default 25000000)\n"
    "      --output N         its output that feeds the antenna, CLKn (default 0)\n"
    "      --dial HZ          the dial frequency a receiver is tuned to; several, "
    "comma-separated,\n"
    "                         for a band plan (default: each transmission's own, less 1500 Hz)\n"
    "      --pps PIN          the pin the pulse goes to (default PD2; attiny85 PB1; none)\n"
    "      --pps-every N      a pulse every N seconds: 1 for PPS, 60 or 120 for a minute pulse\n"
    "      --pps-late S       the pulse comes S seconds after its second (default 0)\n"
    "      --no-gps           no NMEA sentences on the UART\n"
    "      --start HH:MM:SS   UTC at power-up (default 12:01:52.5)\n"
    "      --fix-after S      the receiver has no fix for S seconds (default 3)\n"
    "  -s, --seconds S        simulated time (default: WSPR 130, FT8 40)\n"
    "      --no-decode        do not run the decoders\n"
    "      --record           print the record itself: each change of the output\n"
    "  -h, --help             print this help\n"
    "\n"
    "Exit status: 0 every transmission kept to its mode and decoded (where a decoder ran);\n"
    "1 none was sent, one broke its mode or did not decode; 2 the command line is wrong or the\n"
    "firmware cannot be run.\n";

bool ParsePin(const std::string& text, qvbench::Pin& pin) {
  if (text == "none") {
    pin = {};
    return true;
  }
  if (text.size() != 3 || (text[0] != 'P' && text[0] != 'p') || text[2] < '0' || text[2] > '7')
    return false;
  pin = {char(std::toupper(text[1])), text[2] - '0'};
  return true;
}

bool ParseClock(const std::string& text, double& utc) {
  int h, m;
  double s;
  if (std::sscanf(text.c_str(), "%d:%d:%lf", &h, &m, &s) != 3 || h < 0 || h > 23 || m < 0 ||
      m > 59 || s < 0 || s >= 60)
    return false;
  utc = h * 3600 + m * 60 + s;
  return true;
}

bool ParseNumber(const std::string& text, double& value) {
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return !text.empty() && *end == '\0' && std::isfinite(value);
}

int Wrong(const std::string& why) {
  std::fprintf(stderr, "qvbench: %s\n%s", why.c_str(), "Try 'qvbench --help'.\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  qvbench::BenchSetup setup;
  setup.pps = {'D', 2};
  setup.startUtc = 12 * 3600 + 1 * 60 + 52.5;
  qvbench::ReportOptions report;
  bool secondsGiven = false, printRecord = false;
  std::vector<std::string> args(argv + 1, argv + argc);
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) return false;
      out = args[++i];
      return true;
    };
    std::string v;
    double number = 0;
    if (a == "-h" || a == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (a == "-m" || a == "--mode") {
      if (!value(v) || (v != "wspr" && v != "ft8")) return Wrong("--mode takes wspr or ft8");
      report.mode = v == "wspr" ? modes::Mode::kWspr : modes::Mode::kFt8;
    } else if (a == "--mcu") {
      if (!value(v) || (v != "atmega328p" && v != "attiny85"))
        return Wrong("--mcu takes atmega328p or attiny85");
      setup.mcu = v;
    } else if (a == "--synth") {
      if (!value(v) || v != "si5351") return Wrong("the bench has an si5351 only (--synth)");
    } else if (a == "--cpu-hz" || a == "--crystal" || a == "--output" || a == "--pps-every" ||
               a == "--pps-late" || a == "--fix-after" || a == "-s" || a == "--seconds") {
      if (!value(v) || !ParseNumber(v, number) || number < 0) return Wrong(a + " takes a number");
      if (a == "--cpu-hz") setup.cpuHz = number;
      if (a == "--crystal") setup.crystalHz = number;
      if (a == "--output") setup.clockOutput = int(number) & 7;
      if (a == "--pps-every") setup.ppsEverySeconds = std::max(1, int(number));
      if (a == "--pps-late") setup.ppsLateSeconds = number;
      if (a == "--fix-after") setup.fixAfterSeconds = number;
      if (a == "-s" || a == "--seconds") setup.runSeconds = number, secondsGiven = true;
    } else if (a == "--dial") {
      if (!value(v)) return Wrong("--dial takes a frequency in Hz");
      for (size_t from = 0; from <= v.size();) {
        size_t comma = std::min(v.find(',', from), v.size());
        if (!ParseNumber(v.substr(from, comma - from), number) || number <= 0)
          return Wrong("--dial takes frequencies in Hz, comma-separated");
        report.dialsHz.push_back(number);
        from = comma + 1;
      }
    } else if (a == "--pps") {
      if (!value(v) || !ParsePin(v, setup.pps)) return Wrong("--pps takes a pin such as PD2");
    } else if (a == "--start") {
      if (!value(v) || !ParseClock(v, setup.startUtc)) return Wrong("--start takes HH:MM:SS");
    } else if (a == "--no-gps") {
      setup.gps = false;
    } else if (a == "--record") {
      printRecord = true;
    } else if (a == "--no-decode") {
      report.decode = false;
    } else if (!a.empty() && a[0] == '-') {
      return Wrong("unknown option " + a);
    } else if (setup.firmware.empty()) {
      setup.firmware = a;
    } else {
      return Wrong("one firmware at a time");
    }
  }
  if (setup.firmware.empty()) return Wrong("no firmware named");
  if (setup.mcu == "attiny85") {
    setup.gps = false;
    if (setup.pps.port == 'D') setup.pps = {'B', 1};  // the ATtiny85 has port B only
  }
  if (!secondsGiven) setup.runSeconds = report.mode == modes::Mode::kWspr ? 130 : 40;

  qvbench::BenchRecord record;
  std::string error;
  const auto began = std::chrono::steady_clock::now();
  if (!qvbench::RunBench(setup, record, error)) {
    std::fprintf(stderr, "qvbench: %s\n", error.c_str());
    return 2;
  }
  report.wallSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();

  if (printRecord)
    for (const qvbench::RfStep& step : record.steps)
      std::printf("%s %s %.3f Hz\n", qvbench::ClockText(step.utc + 5e-7).c_str(),
                  step.on ? "on " : "off", step.hz);
  std::string folder;
  if (report.decode) folder = NewWorkFolder();
  if (folder.empty()) report.decode = false;
  report.folder = folder;
  qvbench::Verdict verdict = qvbench::PrintReport(setup, record, report, stdout);
  if (report.decode && std::getenv("QVBENCH_KEEP") == nullptr) std::filesystem::remove_all(folder);
  return verdict.ok ? 0 : 1;
}

// Reading qvcode's command line into Options, and the help text that describes it.
#include "qvcode/options.h"

#include <charconv>
#include <cmath>

#include "qvcode/formats.h"
#include "qvcode/targets.h"

namespace qvcode {
namespace {

char Upper(char c) {
  return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

// "jt65", or a mode name with a submode letter after it: "jt65b", "jt4g".
bool TakeMode(std::string_view text, Options& options, ParseResult& result) {
  if (const modes::ModeInfo* mode = modes::FindMode(text)) {
    options.mode = mode;
    return true;
  }
  if (text.size() > 1) {
    const modes::ModeInfo* mode = modes::FindMode(text.substr(0, text.size() - 1));
    char letter = Upper(text.back());
    if (mode != nullptr && mode->submodes.find(letter) != std::string_view::npos) {
      if (options.submode != 0 && options.submode != letter) {
        result = {false, "--mode " + std::string(text) + " and --submode " + options.submode +
                             " name different submodes"};
        return false;
      }
      options.mode = mode;
      options.submode = letter;
      return true;
    }
  }
  std::string names;
  for (const modes::ModeInfo& mode : modes::AllModes())
    names += (names.empty() ? "" : ", ") + std::string(mode.name);
  result = {false, "unknown mode \"" + std::string(text) + "\" (modes built: " + names + ")"};
  return false;
}

bool TakeNumber(std::string_view text, std::uint32_t& number) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty() || text.size() > 8) return false;
  std::uint64_t value = 0;
  for (char c : text) {
    int digit = c >= '0' && c <= '9'                 ? c - '0'
                : base == 16 && c >= 'a' && c <= 'f' ? c - 'a' + 10
                : base == 16 && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
    if (digit < 0) return false;
    value = value * std::uint64_t(base) + std::uint64_t(digit);
  }
  if (value > 0xFFFFFFFFu) return false;
  number = std::uint32_t(value);
  return true;
}

// A decimal number such as 1500, 1270.5 or -10.
bool TakeDecimal(std::string_view text, double& number) {
  double value = 0;
  auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
      !std::isfinite(value))
    return false;
  number = value;
  return true;
}

bool IsCName(std::string_view name) {
  if (name.empty() || (name[0] >= '0' && name[0] <= '9')) return false;
  for (char c : name)
    if (!(c == '_' || (c >= '0' && c <= '9') || (Upper(c) >= 'A' && Upper(c) <= 'Z'))) return false;
  return true;
}

// Acts on one option that takes a value; false with result set when the value is wrong.
bool TakeValue(std::string_view option, std::string_view value, Options& options,
               ParseResult& result) {
  if (option == "--mode") return TakeMode(value, options, result);
  if (option == "--submode") {
    char letter = value.size() == 1 ? Upper(value[0]) : 0;
    if (letter < 'A' || letter > 'Z') {
      result = {false, "--submode takes one letter, not \"" + std::string(value) + "\""};
      return false;
    }
    if (options.submode != 0 && options.submode != letter) {
      result = {false, std::string("--submode ") + letter + " and --mode name different submodes"};
      return false;
    }
    options.submode = letter;
    return true;
  }
  if (option == "--period") {
    std::uint32_t seconds = 0;
    if (TakeNumber(value, seconds) && seconds > 0 && seconds <= 3600) {
      options.period = int(seconds);
      return true;
    }
    result = {false,
              "--period takes the transmit period in seconds, not \"" + std::string(value) + "\""};
    return false;
  }
  if (option == "--sequence") {
    if (value == "symbols" || value == "tones") {
      options.sequence = value == "symbols" ? Sequence::kSymbols : Sequence::kTones;
      return true;
    }
    result = {false, "unknown sequence \"" + std::string(value) + "\" (symbols or tones)"};
    return false;
  }
  if (option == "--format") {
    options.format = FindFormat(value);
    if (options.format == nullptr)
      result = {false,
                "unknown format \"" + std::string(value) + "\" (formats: " + FormatNames() + ")"};
    return options.format != nullptr;
  }
  if (option == "--target") {
    options.target = FindTarget(value);
    if (options.target == nullptr)
      result = {false,
                "unknown target \"" + std::string(value) + "\" (targets: " + TargetNames() + ")"};
    return options.target != nullptr;
  }
  if (option == "--address") {
    // Far beyond any chip, and an Intel HEX image stays within its 32-bit byte addresses.
    constexpr std::uint32_t kAddressLimit = 0x1000000;
    options.hasAddress = TakeNumber(value, options.address) && options.address < kAddressLimit;
    if (!options.hasAddress)
      result = {
          false,
          "--address takes a number below 0x1000000 (decimal, or hexadecimal after 0x), not \"" +
              std::string(value) + "\""};
    return options.hasAddress;
  }
  if (option == "--name") {
    options.name = value;
    if (!IsCName(value))
      result = {false, "--name takes a C identifier (letters, digits, _), not \"" +
                           std::string(value) + "\""};
    return IsCName(value);
  }
  if (option == "--output") {
    options.output = value;
    if (value.empty()) result = {false, "--output takes a file name"};
    return !value.empty();
  }
  if (option == "--wav") {
    options.wav = value;
    if (value.empty()) result = {false, "--wav takes a file name"};
    return !value.empty();
  }
  if (option == "--frequency") {
    options.hasFrequency = true;
    if (TakeDecimal(value, options.frequencyHz) && options.frequencyHz > 0 &&
        options.frequencyHz < 6000)
      return true;
    result = {false, "--frequency takes the audio frequency in Hz, above 0 and below 6000, not \"" +
                         std::string(value) + "\""};
    return false;
  }
  if (option == "--snr") {
    options.addNoise = true;
    if (TakeDecimal(value, options.snrDb) && options.snrDb >= -60 && options.snrDb <= 60)
      return true;
    result = {false, "--snr takes a signal to noise ratio in dB, from -60 to 60, not \"" +
                         std::string(value) + "\""};
    return false;
  }
  if (option == "--seed") {
    options.hasSeed = TakeNumber(value, options.seed);
    if (!options.hasSeed)
      result = {false, "--seed takes a number (decimal, or hexadecimal after 0x), not \"" +
                           std::string(value) + "\""};
    return options.hasSeed;
  }
  // --schedule
  options.schedule = value;
  options.hasSchedule = true;
  if (value.empty()) result = {false, "--schedule takes a file name, or - for standard input"};
  return !value.empty();
}

constexpr std::string_view kValueOptions[] = {
    "--mode", "--submode", "--period",   "--sequence", "--format",    "--target", "--address",
    "--name", "--output",  "--schedule", "--wav",      "--frequency", "--snr",    "--seed"};

// Short forms: -m -f -o -t -a -n take values; -p -v -h -V do not.
std::string_view LongForm(char letter) {
  switch (letter) {
    case 'm':
      return "--mode";
    case 'f':
      return "--format";
    case 'o':
      return "--output";
    case 't':
      return "--target";
    case 'a':
      return "--address";
    case 'n':
      return "--name";
    case 'p':
      return "--pack";
    case 'v':
      return "--verbose";
    case 'h':
      return "--help";
    case 'V':
      return "--version";
    default:
      return {};
  }
}

bool IsValueOption(std::string_view option) {
  for (std::string_view known : kValueOptions)
    if (known == option) return true;
  return false;
}

// The checks that need the whole command line.
ParseResult CheckTogether(Options& options) {
  if (options.help || options.version) return {};
  if (options.hasSchedule && !options.messages.empty())
    return {false, "give messages or --schedule, not both"};
  if (!options.hasSchedule && options.messages.empty())
    return {false, "no message (give one or more, or --schedule FILE)"};
  if (options.mode == nullptr) options.mode = &modes::AllModes().front();
  if (options.submode != 0 &&
      options.mode->submodes.find(options.submode) == std::string_view::npos)
    return {false, "mode " + std::string(options.mode->name) + " has no submode " +
                       options.submode + " (submodes: " + std::string(options.mode->submodes) +
                       ")"};
  if (options.period != 0 && options.period != options.mode->periodSeconds &&
      modes::FindPeriod(*options.mode, options.period) == nullptr) {
    std::string periods;
    for (const modes::ModePeriod& period : options.mode->periods)
      periods += (periods.empty() ? "" : ", ") + std::to_string(period.seconds);
    return {false, "mode " + std::string(options.mode->name) + " has no period of " +
                       std::to_string(options.period) + " s" +
                       (periods.empty() ? "" : " (periods: " + periods + ")")};
  }
  if (!options.wav.empty()) {
    if (options.hasSchedule || options.messages.size() != 1)
      return {false, "--wav writes the audio of one message: give exactly one"};
    if (options.format != nullptr || !options.output.empty() || options.pack || options.progmem)
      return {false,
              "--wav writes audio, not a table: leave out --format, --output, --pack, "
              "--progmem"};
  } else if (options.hasFrequency || options.addNoise || options.hasSeed) {
    return {false, "--frequency, --snr and --seed are for --wav"};
  }
  if (options.format == nullptr) options.format = &DefaultFormat();
  if (options.progmem && options.format->name != "c") return {false, "--progmem is for --format c"};
  if (options.hasAddress && options.format->write != WriteIntelHex)
    return {false, "--address is for --format hex or eep"};
  if (options.format->name == "dt" && options.target != nullptr &&
      options.target->family != Family::kPic)
    return {false, "a dt table is PIC program memory; the " + std::string(options.target->display) +
                       " is an AVR"};
  return {};
}

}  // namespace

ParseResult ParseCommandLine(const std::vector<std::string>& arguments, Options& options) {
  ParseResult result;
  bool optionsEnd = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string_view argument = arguments[i];
    if (optionsEnd || argument.size() < 2 || argument[0] != '-') {
      options.messages.emplace_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnd = true;
      continue;
    }
    std::string option, value;
    bool hasValue = false;
    if (argument[1] == '-') {
      std::size_t equals = argument.find('=');
      option = argument.substr(0, equals);
      if (equals != std::string_view::npos) {
        value = argument.substr(equals + 1);
        hasValue = true;
      }
    } else {
      option = LongForm(argument[1]);
      if (option.empty()) return {false, "unknown option " + std::string(argument)};
      if (argument.size() > 2) {
        if (!IsValueOption(option)) return {false, "unknown option " + std::string(argument)};
        value = argument.substr(2);
        hasValue = true;
      }
    }
    if (IsValueOption(option)) {
      if (!hasValue) {
        if (i + 1 >= arguments.size()) return {false, option + " needs a value"};
        value = arguments[++i];
      }
      if (!TakeValue(option, value, options, result)) return result;
      continue;
    }
    if (hasValue) return {false, option + " takes no value"};
    if (option == "--pack") {
      options.pack = true;
    } else if (option == "--progmem") {
      options.progmem = true;
    } else if (option == "--verbose") {
      options.verbose = true;
    } else if (option == "--help") {
      options.help = true;
    } else if (option == "--version") {
      options.version = true;
    } else {
      return {false, "unknown option " + option};
    }
  }
  return CheckTogether(options);
}

std::string HelpText() {
  std::string modeLines;
  for (const modes::ModeInfo& mode : modes::AllModes()) {
    std::string name(mode.name);
    name.resize(8, ' ');
    modeLines += "    " + name;
    if (mode.submodes.size() > 1)
      modeLines +=
          "submodes " + std::string(mode.submodes) + " (default " + mode.submodes[0] + "); ";
    if (!mode.periods.empty()) {
      std::string periods;
      for (const modes::ModePeriod& period : mode.periods)
        periods += (periods.empty() ? "" : " ") + std::to_string(period.seconds);
      modeLines += "periods " + periods + " s (default " + std::to_string(int(mode.periodSeconds)) +
                   ");\n" + std::string(12, ' ');
    }
    modeLines += "packed: " + std::to_string(mode.symbolBits) + "-bit symbols, " +
                 std::to_string(mode.toneBits) + "-bit tones\n";
  }
  // The chip names, wrapped to the help's width.
  std::string chips = TargetNames();
  for (std::size_t line = 0; chips.size() - line > 70;) {
    std::size_t cut = chips.rfind(' ', line + 70);
    chips[cut] = '\n';
    chips.insert(cut + 1, 25, ' ');
    line = cut + 26;
  }
  return "Usage: qvcode [OPTIONS] MESSAGE...\n"
         "       qvcode [OPTIONS] --schedule FILE\n"
         "Writes the channel symbols or the whole tone sequence of beacon messages as tables for\n"
         "firmware. Each MESSAGE argument is one message; a schedule file holds one message a\n"
         "line (blank lines and lines starting with # are skipped; FILE - reads standard input).\n"
         "\n"
         "  -m, --mode MODE        the mode (default jt65); a submode letter may follow: jt65b\n" +
         modeLines +
         "      --submode LETTER   the submode, as another way to give it\n"
         "      --period SECONDS   the transmit period, of a mode with several\n"
         "      --sequence WHAT    symbols: the channel symbols, one a data symbol period "
         "(default);\n"
         "                         tones: the whole transmitted sequence, sync included\n"
         "  -f, --format FORMAT    the output format (default de):\n" +
         FormatList() +
         "  -p, --pack             store each value in the bits it needs (as listed with the "
         "modes);\n"
         "                         the file's comment states how to unpack\n"
         "      --progmem          C arrays in AVR flash (PROGMEM, <avr/pgmspace.h>)\n"
         "  -a, --address N        Intel HEX start: PIC EEPROM word address (default 0x2100);\n"
         "                         AVR .eep byte address (default 0)\n"
         "  -n, --name NAME        label and C name of the tables (default from mode, sequence)\n"
         "  -t, --target CHIP      refuse a run that does not fit the chip; an AVR chip makes hex\n"
         "                         the .eep layout. Chips:\n"
         "                         " +
         chips +
         "\n"
         "  -o, --output FILE      write FILE (whole, or not at all) instead of standard output\n"
         "      --wav FILE         write the message's audio instead: the whole transmit period,\n"
         "                         12000 Hz mono 16-bit, the tones where the mode starts them\n"
         "      --frequency HZ     the audio frequency of tone 0 (WSPR: the centre of its tones;\n"
         "                         default 1500)\n"
         "      --snr DB           add Gaussian noise: signal to noise ratio in 2500 Hz\n"
         "      --seed N           the noise's seed (default 1): the same seed, the same file\n"
         "  -v, --verbose          print the memory each message takes and the chips it fits\n"
         "  -h, --help             print this help;  -V, --version  print the version\n"
         "\n"
         "The assembler formats (de, dt) and Intel HEX end their lines with CR LF; the others\n"
         "with LF. Exit status: 0 done; 1 a message could not be encoded, the run does not fit\n"
         "the target, or the output could not be written; 2 the command line is wrong.\n";
}

std::string VersionText() {
  std::string names;
  for (const modes::ModeInfo& mode : modes::AllModes())
    names += (names.empty() ? "" : ", ") + std::string(mode.name);
  return "qvcode (Quorvel) " QUORVEL_VERSION "; modes: " + names + "\n";
}

}  // namespace qvcode

// qvcode's command line: one table of options (their forms, help and what each does), the parser
// that reads arguments through it, and the step that settles defaults and cross-checks.
#include "qvcode/options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "common/ascii.h"
#include "qvcode/formats.h"
#include "qvcode/targets.h"

namespace qvcode {
namespace {

using Take = Outcome (*)(std::string_view value, Options& options);

// Where the help of every option starts on its line.
constexpr std::size_t kHelpColumn = 25;

struct OptionRow {
  std::string_view longForm = {};          // "--mode"
  char shortForm = 0;                      // 'm', or 0 when there is none
  std::string_view valueName = {};         // "MODE"; empty for an option that takes no value
  std::string_view help = {};              // its lines in --help; "{}" stands for the default
  std::string (*defaultText)() = nullptr;  // the default, where the help names it
  std::string (*list)() = nullptr;         // lines listed under the help: modes, formats
  Take take = nullptr;
};

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

// A whole number: decimal, or hexadecimal after 0x; any count of digits, leading zeros included.
std::optional<std::uint32_t> WholeNumber(std::string_view text) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    char lower = ascii::Lower(c);
    int digit = c >= '0' && c <= '9'                         ? c - '0'
                : base == 16 && lower >= 'a' && lower <= 'f' ? lower - 'a' + 10
                                                             : -1;
    if (digit < 0) return std::nullopt;
    value = value * std::uint64_t(base) + std::uint64_t(digit);
    if (value > 0xFFFFFFFFu) return std::nullopt;
  }
  return std::uint32_t(value);
}

bool IsCName(std::string_view name) {
  if (name.empty() || (name[0] >= '0' && name[0] <= '9')) return false;
  for (char c : name) {
    char upper = ascii::Upper(c);
    if (!(c == '_' || (c >= '0' && c <= '9') || (upper >= 'A' && upper <= 'Z'))) return false;
  }
  return true;
}

std::string ModeNames() {
  return ascii::JoinNames(modes::AllModes(),
                          [](const modes::ModeInfo& mode) { return std::string(mode.name); });
}

Outcome SetSubmode(char letter, std::string_view how, Options& options) {
  if (options.submode && *options.submode != letter)
    return Outcome::Failed(std::string(how) + " and --" + (how[2] == 'm' ? "submode" : "mode") +
                           " name different submodes");
  options.submode = letter;
  return {};
}

// "jt65", or a mode name with a submode letter after it: "jt65b", "jt4g".
Outcome TakeMode(std::string_view text, Options& options) {
  if (ascii::EqualIgnoringCase(text, modes::MorseInfo().name)) {
    options.mode = &modes::MorseInfo();
    return {};
  }
  if (const modes::ModeInfo* mode = modes::FindMode(text)) {
    options.mode = mode;
    return {};
  }
  if (text.size() > 1) {
    const modes::ModeInfo* mode = modes::FindMode(text.substr(0, text.size() - 1));
    char letter = ascii::Upper(text.back());
    if (mode != nullptr && mode->submodes.find(letter) != std::string_view::npos) {
      options.mode = mode;
      return SetSubmode(letter, "--mode " + std::string(text), options);
    }
  }
  return Outcome::Failed("unknown mode " + Quoted(text) + " (modes: " + ModeNames() + ", " +
                         std::string(modes::MorseInfo().name) + ")");
}

Outcome TakeSubmode(std::string_view value, Options& options) {
  char letter = value.size() == 1 ? ascii::Upper(value[0]) : 0;
  if (letter < 'A' || letter > 'Z')
    return Outcome::Failed("--submode takes one letter, not " + Quoted(value));
  return SetSubmode(letter, std::string("--submode ") + letter, options);
}

Outcome TakePeriod(std::string_view value, Options& options) {
  std::optional<std::uint32_t> seconds = WholeNumber(value);
  if (!seconds || *seconds == 0 || *seconds > 3600)
    return Outcome::Failed("--period takes the transmit period in seconds, not " + Quoted(value));
  options.period = int(*seconds);
  return {};
}

Outcome TakeSequence(std::string_view value, Options& options) {
  if (ascii::EqualIgnoringCase(value, "symbols") || ascii::EqualIgnoringCase(value, "tones")) {
    options.sequence =
        ascii::EqualIgnoringCase(value, "symbols") ? Sequence::kSymbols : Sequence::kTones;
    return {};
  }
  return Outcome::Failed("unknown sequence " + Quoted(value) + " (symbols or tones)");
}

Outcome TakeFormat(std::string_view value, Options& options) {
  options.format = FindFormat(value);
  if (options.format == nullptr)
    return Outcome::Failed("unknown format " + Quoted(value) + " (formats: " + FormatNames() + ")");
  return {};
}

Outcome TakeTarget(std::string_view value, Options& options) {
  options.target = FindTarget(value);
  if (options.target == nullptr)
    return Outcome::Failed("unknown target " + Quoted(value) + " (targets: " + TargetNames() + ")");
  return {};
}

Outcome TakeAddress(std::string_view value, Options& options) {
  // Far beyond any chip, and an Intel HEX image stays within its 32-bit byte addresses.
  constexpr std::uint32_t kAddressLimit = 0x1000000;
  options.address = WholeNumber(value);
  if (!options.address || *options.address >= kAddressLimit)
    return Outcome::Failed(
        "--address takes a number below 0x1000000 (decimal, or hexadecimal after 0x), not " +
        Quoted(value));
  return {};
}

Outcome TakeName(std::string_view value, Options& options) {
  options.name = value;
  if (!IsCName(value))
    return Outcome::Failed("--name takes a C identifier (letters, digits, _), not " +
                           Quoted(value));
  return {};
}

Outcome TakeOutput(std::string_view value, Options& options) {
  options.output = value;
  if (value.empty()) return Outcome::Failed("--output takes a file name, or - for standard output");
  return {};
}

Outcome TakeSchedule(std::string_view value, Options& options) {
  options.schedule = value;
  if (value.empty())
    return Outcome::Failed("--schedule takes a file name, or - for standard input");
  return {};
}

Outcome TakeWav(std::string_view value, Options& options) {
  options.wav = value;
  if (value.empty()) return Outcome::Failed("--wav takes a file name, or - for standard output");
  return {};
}

Outcome TakeFrequency(std::string_view value, Options& options) {
  options.frequencyHz = DecimalNumber(value);
  if (!options.frequencyHz || *options.frequencyHz <= 0 || *options.frequencyHz >= 6000)
    return Outcome::Failed(
        "--frequency takes the audio frequency in Hz, above 0 and below 6000, not " +
        Quoted(value));
  return {};
}

Outcome TakeSnr(std::string_view value, Options& options) {
  options.snrDb = DecimalNumber(value);
  if (!options.snrDb || *options.snrDb < -60 || *options.snrDb > 60)
    return Outcome::Failed("--snr takes a signal to noise ratio in dB, from -60 to 60, not " +
                           Quoted(value));
  return {};
}

Outcome TakeSeed(std::string_view value, Options& options) {
  options.seed = WholeNumber(value);
  if (!options.seed)
    return Outcome::Failed(
        "--seed takes a number from 0 to 4294967295 (decimal, or hexadecimal after 0x), not " +
        Quoted(value));
  return {};
}

// The lines listed under an option: the modes, the formats, the chips.
std::string ModeList() {
  std::string lines;
  for (const modes::ModeInfo& mode : modes::AllModes()) {
    std::string name(mode.name);
    name.resize(8, ' ');
    lines += "    " + name;
    if (mode.submodes.size() > 1)
      lines += "submodes " + std::string(mode.submodes) + " (default " + mode.submodes[0] + "); ";
    if (!mode.periods.empty()) {
      std::string periods = ascii::JoinNames(mode.periods, [](const modes::ModePeriod& period) {
        return std::to_string(period.seconds);
      });
      lines += "periods " + periods + " s (default " + std::to_string(int(mode.periodSeconds)) +
               ");\n" + std::string(12, ' ');
    }
    lines += "packed: " + std::to_string(mode.symbolBits) + "-bit symbols, " +
             std::to_string(mode.toneBits) + "-bit tones\n";
  }
  return lines +
         "    cw      Morse: on/off durations in dot units, key down first; packed: 3-bit\n"
         "            durations, 1-bit key states per dot unit\n";
}

// Names wrapped to the help's width under the option's text.
std::string Wrapped(std::string names) {
  for (std::size_t line = 0; names.size() - line > 70;) {
    std::size_t cut = names.rfind(' ', line + 70);
    names[cut] = '\n';
    names.insert(cut + 1, kHelpColumn, ' ');
    line = cut + kHelpColumn + 1;
  }
  return std::string(kHelpColumn, ' ') + names + "\n";
}

std::string TargetList() {
  return Wrapped(TargetNames());
}

// WSPR's band names, under --band.
std::string BandList() {
  return Wrapped(WsprBandNames());
}

Outcome SetFlag(bool Options::*flag, Options& options) {
  options.*flag = true;
  return {};
}

// Each option once: its forms, its help ("{}" stands for its default) and what it does.
constexpr auto kOptions = std::to_array<OptionRow>({
    {.longForm = "--mode",
     .shortForm = 'm',
     .valueName = "MODE",
     .help = "the mode (default {}); a submode letter may follow: jt65b",
     .defaultText = [] { return std::string(modes::AllModes().front().name); },
     .list = ModeList,
     .take = TakeMode},
    {.longForm = "--submode",
     .valueName = "LETTER",
     .help = "the submode, as another way to give it",
     .take = TakeSubmode},
    {.longForm = "--period",
     .valueName = "SECONDS",
     .help = "the transmit period, of a mode with several",
     .take = TakePeriod},
    {.longForm = "--sequence",
     .valueName = "WHAT",
     .help = "symbols: the channel symbols, one per data symbol period (default);\n"
             "tones: the whole transmitted sequence, sync included",
     .take = TakeSequence},
    {.longForm = "--format",
     .shortForm = 'f',
     .valueName = "FORMAT",
     .help = "the output format (default {}):",
     .defaultText = [] { return std::string(DefaultFormat().name); },
     .list = FormatList,
     .take = TakeFormat},
    {.longForm = "--pack",
     .shortForm = 'p',
     .help = "store each value in the bits it needs (as listed with the modes);\n"
             "the file's comment states how to unpack",
     .take = [](std::string_view, Options& options) { return SetFlag(&Options::pack, options); }},
    {.longForm = "--progmem",
     .help = "C arrays in AVR flash (PROGMEM, <avr/pgmspace.h>)",
     .take = [](std::string_view,
                Options& options) { return SetFlag(&Options::progmem, options); }},
    {.longForm = "--address",
     .shortForm = 'a',
     .valueName = "N",
     .help = "Intel HEX start: PIC EEPROM word address (default 0x2100);\n"
             "AVR .eep byte address (default 0)",
     .take = TakeAddress},
    {.longForm = "--name",
     .shortForm = 'n',
     .valueName = "NAME",
     .help = "label and C name of the tables (default from mode, sequence)",
     .take = TakeName},
    {.longForm = "--target",
     .shortForm = 't',
     .valueName = "CHIP",
     .help = "refuse a run that does not fit the chip; an AVR chip makes hex\n"
             "the .eep layout. Chips:",
     .list = TargetList,
     .take = TakeTarget},
    {.longForm = "--schedule",
     .valueName = "FILE",
     .help = "read the messages from FILE, one per line; - reads standard input",
     .take = TakeSchedule},
    {.longForm = "--output",
     .shortForm = 'o',
     .valueName = "FILE",
     .help = "write FILE (whole, or not at all) instead of standard output;\n"
             "- is standard output",
     .take = TakeOutput},
    {.longForm = "--wav",
     .valueName = "FILE",
     .help = "write the message's audio instead: the whole transmit period,\n"
             "12000 Hz mono 16-bit, the tones where the mode starts them",
     .take = TakeWav},
    {.longForm = "--frequency",
     .valueName = "HZ",
     .help = "the audio frequency of tone 0 (WSPR: the centre of its tones;\n"
             "default {}), for --wav and above the --synth dial",
     .defaultText = [] { return std::to_string(int(kDefaultFrequencyHz)); },
     .take = TakeFrequency},
    {.longForm = "--synth",
     .valueName = "CHIP",
     .help = "add the synthesiser's register values for every tone, a row per tone:",
     .list = SynthesiserList,
     .take = [](std::string_view value,
                Options& options) { return TakeSynth(value, options.beacon); }},
    {.longForm = "--clock",
     .valueName = "HZ",
     .help = "the synthesiser's reference clock (defaults above)",
     .take = [](std::string_view value,
                Options& options) { return TakeClock(value, options.beacon); }},
    {.longForm = "--dial",
     .valueName = "HZ[,HZ...]",
     .help = "the dial frequency; a tone is dial + --frequency + its offset",
     .take = [](std::string_view value,
                Options& options) { return TakeDials(value, options.beacon); }},
    {.longForm = "--band",
     .valueName = "NAME[,...]",
     .help = "WSPR's dial on each band named:",
     .list = BandList,
     .take = [](std::string_view value,
                Options& options) { return TakeBands(value, options.beacon); }},
    {.longForm = "--wpm",
     .valueName = "N",
     .help = "Morse speed in words per minute, PARIS timing (default 20)",
     .take = [](std::string_view value,
                Options& options) { return TakeWpm(value, options.beacon); }},
    {.longForm = "--qrss",
     .valueName = "SECONDS",
     .help = "Morse dot length instead, for QRSS (3, 6, 10 ...)",
     .take = [](std::string_view value,
                Options& options) { return TakeQrss(value, options.beacon); }},
    {.longForm = "--fsk",
     .valueName = "HZ",
     .help = "--mode cw as FSK-CW: key down HZ above key up",
     .take = [](std::string_view value,
                Options& options) { return TakeFsk(value, options.beacon); }},
    {.longForm = "--snr",
     .valueName = "DB",
     .help = "add Gaussian noise: signal to noise ratio in 2500 Hz",
     .take = TakeSnr},
    {.longForm = "--seed",
     .valueName = "N",
     .help = "the noise's seed (default {}): the same seed, the same file",
     .defaultText = [] { return std::to_string(kDefaultSeed); },
     .take = TakeSeed},
    {.longForm = "--strict",
     .help = "refuse a message the mode would change (cut, or sent otherwise)",
     .take = [](std::string_view, Options& options) { return SetFlag(&Options::strict, options); }},
    {.longForm = "--verbose",
     .shortForm = 'v',
     .help = "print the memory each message takes and the chips it fits",
     .take = [](std::string_view,
                Options& options) { return SetFlag(&Options::verbose, options); }},
    {.longForm = "--help",
     .shortForm = 'h',
     .help = "print this help",
     .take = [](std::string_view, Options& options) { return SetFlag(&Options::help, options); }},
    {.longForm = "--version",
     .shortForm = 'V',
     .help = "print the version",
     .take = [](std::string_view,
                Options& options) { return SetFlag(&Options::version, options); }},
});

const OptionRow* FindOption(std::string_view argument) {
  for (const OptionRow& row : kOptions) {
    bool isShort = argument.size() == 2 && argument[0] == '-' && argument[1] == row.shortForm;
    if (row.longForm == argument || (row.shortForm != 0 && isShort)) return &row;
  }
  return nullptr;
}

// Defaults that depend on other options, and the checks that need the whole command line.
Outcome Settle(Options& options) {
  if (options.help || options.version) return {};
  if (options.schedule && !options.messages.empty())
    return Outcome::Failed("give messages or --schedule, not both");
  if (!options.schedule && options.messages.empty())
    return Outcome::Failed("no message (give one or more, or --schedule FILE)");
  if (options.mode == nullptr) options.mode = &modes::AllModes().front();
  const std::string_view submodes = options.mode->submodes;
  if (options.submode && submodes.find(*options.submode) == std::string_view::npos)
    return Outcome::Failed("mode " + std::string(options.mode->name) + " has no submode " +
                           *options.submode +
                           (submodes.empty() ? " (it has no submodes)"
                                             : " (submodes: " + std::string(submodes) + ")"));
  // A mode without submodes (WSPR) keeps submode 0.
  if (!options.submode) options.submode = submodes.empty() ? 0 : submodes[0];
  // A mode of several periods names its period, the default where none is given.
  if (options.period != 0 && options.period != options.mode->periodSeconds &&
      modes::FindPeriod(*options.mode, options.period) == nullptr) {
    std::string periods = ascii::JoinNames(options.mode->periods, [](const modes::ModePeriod& p) {
      return std::to_string(p.seconds);
    });
    return Outcome::Failed("mode " + std::string(options.mode->name) + " has no period of " +
                           std::to_string(options.period) + " s" +
                           (periods.empty() ? "" : " (periods: " + periods + ")"));
  }
  if (const modes::ModePeriod* period = modes::FindPeriod(*options.mode, options.period))
    options.period = period->seconds;
  else
    options.period = 0;
  if (!options.wav.empty()) {
    if (options.schedule || options.messages.size() != 1)
      return Outcome::Failed("--wav writes the audio of one message: give exactly one");
    if (options.format != nullptr || !options.output.empty() || options.pack || options.progmem)
      return Outcome::Failed(
          "--wav writes audio, not a table: leave out --format, --output, --pack, --progmem");
    if (options.mode->mode == modes::Mode::kCw && (options.snrDb || options.seed))
      return Outcome::Failed("--snr and --seed are for the WSJT modes' audio, not Morse");
  } else if (options.snrDb || options.seed ||
             (options.frequencyHz && options.beacon.synth == nullptr)) {
    return Outcome::Failed("--snr and --seed are for --wav, --frequency for --wav or --synth");
  }
  if (Outcome beacon = CheckBeacon(options.beacon, options.mode->mode, !options.wav.empty());
      !beacon.ok)
    return beacon;
  if (options.format == nullptr) options.format = &DefaultFormat();
  const Format& format = *options.format;
  if (options.progmem && !format.takesProgmem)
    return Outcome::Failed("--progmem is for --format c");
  if (options.address && !format.takesAddress)
    return Outcome::Failed("--address is for --format hex or eep");
  if (options.target != nullptr) {
    const Target& target = *options.target;
    if (format.family && *format.family != target.family)
      return Outcome::Failed("--format " + std::string(format.name) + " is for " +
                             FamilyName(*format.family) + " chips; the " +
                             std::string(target.display) + " is " + FamilyArticle(target.family));
    if (options.progmem && target.family != Family::kAvr)
      return Outcome::Failed("--progmem is AVR flash; the " + std::string(target.display) + " is " +
                             FamilyArticle(target.family));
  }
  options.layout = format.family    ? *format.family
                   : options.target ? options.target->family
                                    : Family::kPic;
  bool picEeprom = format.takesAddress && options.layout == Family::kPic;
  if (!options.address) options.address = picEeprom ? kPicEepromWord : 0;
  if (picEeprom && *options.address < kPicEepromWord)
    return Outcome::Failed("--address " + std::to_string(*options.address) +
                           " lies below the PIC data EEPROM, which starts at word 0x2100");
  if (options.name.empty())
    options.name = ModeLabel(*options.mode, *options.submode, options.period) +
                   (options.sequence == Sequence::kSymbols ? "_SYMBOLS" : "_TONES");
  return {};
}

}  // namespace

std::optional<double> DecimalNumber(std::string_view text) {
  if (text.size() > 1 && text[0] == '+' && text[1] != '-') text.remove_prefix(1);
  double value = 0;
  auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
      !std::isfinite(value))
    return std::nullopt;
  return value;
}

Outcome ParseCommandLine(const std::vector<std::string>& arguments, Options& options) {
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
    // --name=VALUE and -nVALUE carry their value in the same argument.
    std::string_view written = argument;
    std::optional<std::string_view> attached;
    if (argument[1] == '-') {
      std::size_t equals = argument.find('=');
      if (equals != std::string_view::npos) {
        written = argument.substr(0, equals);
        attached = argument.substr(equals + 1);
      }
    } else if (argument.size() > 2) {
      written = argument.substr(0, 2);
      attached = argument.substr(2);
    }
    const OptionRow* row = FindOption(written);
    if (row == nullptr) return Outcome::Failed("unknown option " + std::string(argument));
    std::string_view value;
    if (row->valueName.empty()) {
      if (attached && argument[1] != '-')
        return Outcome::Failed("unknown option " + std::string(argument));
      if (attached) return Outcome::Failed(std::string(row->longForm) + " takes no value");
    } else if (attached) {
      value = *attached;
    } else if (i + 1 < arguments.size()) {
      value = arguments[++i];
    } else {
      return Outcome::Failed(std::string(row->longForm) + " needs a value");
    }
    Outcome taken = row->take(value, options);
    if (!taken.ok) return taken;
  }
  return Settle(options);
}

std::string HelpText() {
  std::string options;
  for (const OptionRow& row : kOptions) {
    std::string left = row.shortForm != 0 ? std::string("  -") + row.shortForm + ", " : "      ";
    left += std::string(row.longForm);
    if (!row.valueName.empty()) left += " " + std::string(row.valueName);
    left.resize(std::max(left.size() + 1, kHelpColumn), ' ');
    std::string help(row.help);
    if (std::size_t at = help.find("{}"); at != std::string::npos)
      help.replace(at, 2, row.defaultText());
    for (std::size_t at = help.find('\n'); at != std::string::npos; at = help.find('\n', at + 1))
      help.insert(at + 1, kHelpColumn, ' ');
    options += left + help + "\n";
    if (row.list != nullptr) options += row.list();
  }
  return "Usage: qvcode [OPTIONS] MESSAGE...\n"
         "       qvcode [OPTIONS] --schedule FILE\n"
         "Writes the channel symbols or the whole tone sequence of beacon messages as tables for\n"
         "firmware. Each MESSAGE argument is one message; a schedule file holds one message per\n"
         "line (blank lines and lines starting with # are skipped; FILE - reads standard input).\n"
         "\n" +
         options +
         "\n"
         "The assembler formats (de, dt) and Intel HEX end their lines with CR LF; the others\n"
         "with LF. A message the mode changes is named on standard error with what is sent.\n"
         "Exit status: 0 done; 1 a message could not be encoded, the run does not fit the\n"
         "target, or the output could not be written; 2 the command line is wrong.\n";
}

std::string VersionText() {
  return "qvcode (Quorvel) " QUORVEL_VERSION "; modes: " + ModeNames() + "\n";
}

}  // namespace qvcode

// ARRL Field Day sections and RTTY Roundup exchanges, in the order their numbers are sent, and the
// 4-character locator field.
#include "modes/message77-tables.h"

namespace ft {

const std::array<std::string_view, 86> kFieldDaySections = {
    "AB",  "AK",  "AL",  "AR",  "AZ",  "BC",  "CO", "CT",  "DE", "EB",  "EMA", "ENY", "EPA",
    "EWA", "GA",  "GH",  "IA",  "ID",  "IL",  "IN", "KS",  "KY", "LA",  "LAX", "NS",  "MB",
    "MDC", "ME",  "MI",  "MN",  "MO",  "MS",  "MT", "NC",  "ND", "NE",  "NFL", "NH",  "NL",
    "NLI", "NM",  "NNJ", "NNY", "TER", "NTX", "NV", "OH",  "OK", "ONE", "ONN", "ONS", "OR",
    "ORG", "PAC", "PR",  "QC",  "RI",  "SB",  "SC", "SCV", "SD", "SDG", "SF",  "SFL", "SJV",
    "SK",  "SNJ", "STX", "SV",  "TN",  "UT",  "VA", "VI",  "VT", "WCF", "WI",  "WMA", "WNY",
    "WPA", "WTX", "WV",  "WWA", "WY",  "DX",  "PE", "NB"};

const std::array<std::string_view, 171> kRttyExchanges = {
    "AL",  "AK",  "AZ",  "AR",  "CA",  "CO",  "CT",  "DE",  "FL",  "GA",  "HI",  "ID",  "IL",
    "IN",  "IA",  "KS",  "KY",  "LA",  "ME",  "MD",  "MA",  "MI",  "MN",  "MS",  "MO",  "MT",
    "NE",  "NV",  "NH",  "NJ",  "NM",  "NY",  "NC",  "ND",  "OH",  "OK",  "OR",  "PA",  "RI",
    "SC",  "SD",  "TN",  "TX",  "UT",  "VT",  "VA",  "WA",  "WV",  "WI",  "WY",  "NB",  "NS",
    "QC",  "ON",  "MB",  "SK",  "AB",  "BC",  "NWT", "NF",  "LB",  "NU",  "YT",  "PEI", "DC",
    "DR",  "FR",  "GD",  "GR",  "OV",  "ZH",  "ZL",  "X01", "X02", "X03", "X04", "X05", "X06",
    "X07", "X08", "X09", "X10", "X11", "X12", "X13", "X14", "X15", "X16", "X17", "X18", "X19",
    "X20", "X21", "X22", "X23", "X24", "X25", "X26", "X27", "X28", "X29", "X30", "X31", "X32",
    "X33", "X34", "X35", "X36", "X37", "X38", "X39", "X40", "X41", "X42", "X43", "X44", "X45",
    "X46", "X47", "X48", "X49", "X50", "X51", "X52", "X53", "X54", "X55", "X56", "X57", "X58",
    "X59", "X60", "X61", "X62", "X63", "X64", "X65", "X66", "X67", "X68", "X69", "X70", "X71",
    "X72", "X73", "X74", "X75", "X76", "X77", "X78", "X79", "X80", "X81", "X82", "X83", "X84",
    "X85", "X86", "X87", "X88", "X89", "X90", "X91", "X92", "X93", "X94", "X95", "X96", "X97",
    "X98", "X99"};

bool IsLocator(std::string_view text) {
  auto field = [](char c) { return c >= 'A' && c <= 'R'; };
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  return text.size() >= 4 && field(text[0]) && field(text[1]) && digit(text[2]) && digit(text[3]);
}

int LocatorValue(std::string_view text) {
  return (text[0] - 'A') * 1800 + (text[1] - 'A') * 100 + (text[2] - '0') * 10 + (text[3] - '0');
}

std::string LocatorText(int value) {
  return {char('A' + value / 1800), char('A' + value / 100 % 18), char('0' + value / 10 % 10),
          char('0' + value % 10)};
}

}  // namespace ft

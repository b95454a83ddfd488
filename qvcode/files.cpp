// Reading a schedule and writing an output through the platform's whole-file service.
#include "qvcode/files.h"

#include "platform/platform.h"
#include "qvcode/visible-text.h"

namespace qvcode {
namespace {

Outcome Failed(const std::string& what) {
  return Outcome::Failed(what + ": " + pf::ErrorWords(pf::GetLastError()));
}

}  // namespace

Outcome ReadInput(const std::string& name, std::string* bytes) {
  if (name == "-") {
    if (pf::ReadStandardInput(bytes)) return {};
    return Failed("standard input cannot be read");
  }
  if (pf::ReadWholeFile(name, bytes)) return {};
  return Failed(Visible(name) + " cannot be read");
}

Outcome WriteOutput(const std::string& name, std::string_view bytes) {
  if (name.empty() || name == "-") {
    if (pf::WriteStandardOutput(bytes)) return {};
    return Failed("standard output cannot be written");
  }
  if (pf::WriteWholeFile(name, bytes)) return {};
  return Failed(Visible(name) + " cannot be written");
}

Outcome ParseSchedule(std::string_view text, std::vector<Message>& messages) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  int line = 0;
  while (!text.empty()) {
    std::size_t end = text.find_first_of("\r\n");
    std::string_view content = text.substr(0, end);
    std::size_t next = end == std::string_view::npos       ? text.size()
                       : text.compare(end, 2, "\r\n") == 0 ? end + 2
                                                           : end + 1;
    text.remove_prefix(next);
    ++line;
    if (std::optional<std::string> fault = FirstFault(content))
      return Outcome::Failed("line " + std::to_string(line) + " holds " + *fault);
    std::size_t last = content.find_last_not_of(" \t");
    content = content.substr(0, last == std::string_view::npos ? 0 : last + 1);
    std::size_t first = content.find_first_not_of(" \t");
    if (first == std::string_view::npos || content[first] == '#') continue;
    messages.push_back({std::string(content), line, {}});
  }
  return {};
}

}  // namespace qvcode

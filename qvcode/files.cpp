// Reading a schedule and writing an output file through the platform's file primitives.
#include "qvcode/files.h"

#include "platform/platform.h"

namespace qvcode {
namespace {

std::string Reason(std::uint32_t error) {
  switch (error) {
    case pf::kErrorFileNotFound:
      return "no such file";
    case pf::kErrorPathNotFound:
      return "no such folder";
    case pf::kErrorAccessDenied:
      return "access denied";
    case pf::kErrorSharingViolation:
      return "the file is in use by another program";
    case pf::kErrorDiskFull:
      return "the disk is full";
    default:
      return "system error " + std::to_string(error);
  }
}

bool Failed(std::string* error, const std::string& what) {
  *error = what + ": " + Reason(pf::GetLastError());
  return false;
}

}  // namespace

bool ReadInput(const std::string& name, std::string* bytes, std::string* error) {
  if (name == "-") {
    if (pf::ReadStandardInput(bytes)) return true;
    return Failed(error, "standard input cannot be read");
  }
  pf::Handle file =
      pf::CreateFileW(pf::MultiByteToWideChar(name), pf::kGenericRead, pf::kFileShareRead, false,
                      pf::kOpenExisting, pf::kFileAttributeNormal);
  if (file == pf::kInvalidHandle) return Failed(error, name + " cannot be opened");
  char block[65536];
  for (;;) {
    std::uint32_t got = 0;
    if (!pf::ReadFile(file, block, sizeof block, &got)) {
      Failed(error, name + " cannot be read");
      pf::CloseHandle(file);
      return false;
    }
    if (got == 0) break;
    bytes->append(block, got);
  }
  pf::CloseHandle(file);
  return true;
}

bool WriteWhole(const std::string& name, const std::string& bytes, std::string* error) {
  std::u16string target = pf::MultiByteToWideChar(name);
  std::u16string temporary = target + u".qvcode-new";
  pf::Handle file = pf::CreateFileW(temporary, pf::kGenericWrite, 0, false, pf::kCreateAlways,
                                    pf::kFileAttributeNormal);
  if (file == pf::kInvalidHandle) return Failed(error, name + " cannot be written");
  std::uint32_t written = 0;
  bool ok = pf::WriteFile(file, bytes.data(), std::uint32_t(bytes.size()), &written) &&
            written == bytes.size();
  if (!ok) Failed(error, name + " cannot be written");
  if (!pf::CloseHandle(file) && ok) ok = Failed(error, name + " cannot be written");
  if (ok && !pf::MoveFileExW(temporary, target, pf::kMovefileReplaceExisting))
    ok = Failed(error, name + " cannot be replaced");
  if (!ok) pf::DeleteFileW(temporary);
  return ok;
}

std::vector<Message> ParseSchedule(const std::string& text) {
  std::vector<Message> messages;
  int line = 0;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string content = text.substr(start, end - start);
    start = end + 1;
    ++line;
    while (!content.empty() &&
           (content.back() == '\r' || content.back() == ' ' || content.back() == '\t'))
      content.pop_back();
    std::size_t first = content.find_first_not_of(" \t");
    if (first == std::string::npos || content[first] == '#') continue;
    messages.push_back({content, line, {}});
  }
  return messages;
}

}  // namespace qvcode

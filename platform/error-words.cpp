// Win32 error numbers in words: one table for every tool's messages, on every platform.
#include <array>
#include <utility>

#include "platform/platform.h"

namespace pf {
namespace {

constexpr std::array<std::pair<uint32_t, std::string_view>, 19> kWords = {{
    {kErrorInvalidFunction, "the operation is not supported there"},
    {kErrorFileNotFound, "no such file"},
    {kErrorPathNotFound, "no such folder"},
    {kErrorTooManyOpenFiles, "too many files are open"},
    {kErrorAccessDenied, "access denied"},
    {kErrorNotEnoughMemory, "not enough memory"},
    {kErrorNotReady, "the device is not ready"},
    {kErrorGenFailure, "the device does not work (input/output error)"},
    {kErrorSharingViolation, "the file is in use by another program"},
    {kErrorFileExists, "the file exists already"},
    {kErrorInvalidParameter, "the name or a value is not valid"},
    {kErrorBrokenPipe, "the reader has gone (broken pipe)"},
    {kErrorDiskFull, "the disk is full"},
    {kErrorAlreadyExists, "the file exists already"},
    {kErrorFilenameTooLong, "the name is too long"},
    {kErrorFileTooLarge, "the file is too large"},
    {kErrorDirectory, "is a folder"},
    {kErrorBadExeFormat, "not a program this system can run"},
    {kErrorCantResolveFilename, "the name is a loop of links"},
}};

}  // namespace

std::string ErrorWords(uint32_t error) {
  for (const auto& [number, words] : kWords)
    if (number == error) return std::string(words);
  return "system error " + std::to_string(error);
}

}  // namespace pf

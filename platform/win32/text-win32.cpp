// Text conversion on the system ANSI code page (CP_ACP), as Windows does it.
#include "platform/win32/win32-api.h"

namespace pf {

// An empty text is answered without a call: Windows rejects a zero length with
// ERROR_INVALID_PARAMETER, which would leave a stray last error behind.
std::u16string MultiByteToWideChar(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int inLength = static_cast<int>(bytes.size());
  const int needed =
      ::MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, bytes.data(), inLength, nullptr, 0);
  if (needed <= 0) return {};
  std::u16string wide(static_cast<size_t>(needed), u'\0');
  const int made = ::MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, bytes.data(), inLength,
                                         reinterpret_cast<wchar_t*>(wide.data()), needed);
  wide.resize(made > 0 ? static_cast<size_t>(made) : 0);
  return wide;
}

// No default character of our own: the code page's own ("?") stands in for what it cannot hold.
std::string WideCharToMultiByte(std::u16string_view wide) {
  if (wide.empty()) return {};
  const auto* in = reinterpret_cast<const wchar_t*>(wide.data());
  const int inLength = static_cast<int>(wide.size());
  const int needed = ::WideCharToMultiByte(CP_ACP, 0, in, inLength, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string bytes(static_cast<size_t>(needed), '\0');
  const int made =
      ::WideCharToMultiByte(CP_ACP, 0, in, inLength, bytes.data(), needed, nullptr, nullptr);
  bytes.resize(made > 0 ? static_cast<size_t>(made) : 0);
  return bytes;
}

}  // namespace pf

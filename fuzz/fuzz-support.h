// What the fuzz targets share: a private folder for the files they make (in memory when /dev/shm
// is there; named by full paths, as the current directory holds libFuzzer's own relative paths),
// whole-file reads and writes, the listing's lines as the line reader must give
// them, and a check that stops the run with a message, which libFuzzer then reports as a crash.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#define FUZZ_CHECK(condition)                                                            \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (0)

namespace fuzzsupport {

inline std::filesystem::path& WorkFolder() {
  static std::filesystem::path folder;
  return folder;
}

inline void RemoveWorkFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(WorkFolder(), ignored);
}

// Makes a fresh folder for the rest of the run; it goes again at a normal exit.
inline void MakeWorkFolder() {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::path base =
      fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
  std::random_device seed;
  WorkFolder() = base / ("quorvel-fuzz-" + std::to_string(seed()) + "-" + std::to_string(seed()));
  fs::create_directories(WorkFolder());
  std::atexit(RemoveWorkFolder);
}

// The full path of name in the work folder.
inline std::string InWorkFolder(const std::string& name) {
  return (WorkFolder() / name).string();
}

inline void WriteFile(const std::string& name, std::string_view bytes) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  FUZZ_CHECK(out.good());
}

inline std::string ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

// The lines of a text file: a Ctrl-Z acts as the end of the file, so only the bytes before the
// first one count; those are cut at every CR LF and at every lone CR, and the line ends are not
// part of the lines. A lone LF (and any other byte) stays inside its line. After the last line
// end, a piece that is not empty is one more line; an empty one is no line.
inline std::vector<std::string> ExpectedLines(std::string_view file) {
  file = file.substr(0, file.find('\x1a'));
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t cr; (cr = file.find('\r', start)) != std::string_view::npos;) {
    lines.emplace_back(file.substr(start, cr - start));
    start = cr + 1;
    if (start < file.size() && file[start] == '\n') ++start;
  }
  if (start < file.size()) lines.emplace_back(file.substr(start));
  return lines;
}

inline std::string_view AsText(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace fuzzsupport

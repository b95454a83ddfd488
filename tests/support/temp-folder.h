// A fresh temporary folder for a test, and the fixture whose tests each run inside one as the
// current directory, with small helpers for the files there.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <system_error>

namespace testsupport {

inline std::string ReadFileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFileBytes(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

// A new, empty folder under the system's temp folder, named after the running test, removed with
// all it holds when it goes. What a test made read-only is made writable first, since Windows
// refuses to remove it.
struct TempFolder {
  std::filesystem::path path;

  TempFolder() {
    const auto base = std::filesystem::temp_directory_path();
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string leaf = std::string("quorvel-") + (test != nullptr ? test->name() : "test") + "-";
    for (char& c : leaf) {
      if (!std::isalnum(static_cast<unsigned char>(c))) c = '-';  // "Case/ft8" is no folder
    }
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::error_code error;
      path = base / (leaf + std::to_string(random() % 1000000));
      if (std::filesystem::create_directory(path, error)) return;
    }
    ADD_FAILURE() << "no temporary folder could be made under " << base.string();
  }
  ~TempFolder() {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path, ignored)) {
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(path, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::filesystem::path File(const std::string& leaf) const { return path / leaf; }
  // The full name of a file in the folder, as the platform calls take it.
  std::u16string Name(const std::string& leaf) const { return File(leaf).u16string(); }
};

// A TempFolder that is the current directory while it lives.
struct TempWorkFolder : TempFolder {
  std::filesystem::path previous = std::filesystem::current_path();

  TempWorkFolder() { std::filesystem::current_path(path); }
  ~TempWorkFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous, ignored);
  }
};

// Each test runs in a TempWorkFolder of its own (dir_).
class TempFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_.emplace();
    dir_ = folder_->path;
  }
  void TearDown() override { folder_.reset(); }

  static void WriteFile(const std::string& name, const std::string& bytes) {
    WriteFileBytes(name, bytes);
  }
  static std::string ReadFile(const std::string& name) { return ReadFileBytes(name); }
  static bool Exists(const std::string& name) { return std::filesystem::exists(name); }
  static void MakeReadOnly(const std::string& name) {
    std::filesystem::permissions(name,
                                 std::filesystem::perms::owner_write |
                                     std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
  }

  std::filesystem::path dir_;

 private:
  std::optional<TempWorkFolder> folder_;
};

}  // namespace testsupport

// A fresh temporary folder that a test works in (it becomes the current directory) and that is
// removed again afterwards, with small helpers to make and read files there.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace testsupport {

class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::random_device seed;
    dir_ = std::filesystem::temp_directory_path() /
           ("quorvel-test-" + std::to_string(seed()) + "-" + std::to_string(seed()));
    std::filesystem::create_directories(dir_);
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    for (auto& entry : std::filesystem::recursive_directory_iterator(dir_, ignored))
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(dir_, ignored);
  }

  static void WriteFile(const std::string& name, const std::string& bytes) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  static std::string ReadFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
  }
  static bool Exists(const std::string& name) { return std::filesystem::exists(name); }
  static void MakeReadOnly(const std::string& name) {
    std::filesystem::permissions(name,
                                 std::filesystem::perms::owner_write |
                                     std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
  }

  std::filesystem::path dir_;
  std::filesystem::path previous_;
};

}  // namespace testsupport

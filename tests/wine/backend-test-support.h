// What the Win32 backend tests share: a fresh folder of their own for the files they make.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "platform/platform.h"

namespace wintest {

// A new, empty folder under the temp folder, removed again with everything in it when the test
// ends. Read-only files are made writable first, since Windows refuses to remove them.
struct ScratchFolder {
  std::filesystem::path path;

  ScratchFolder() {
    const auto base = std::filesystem::temp_directory_path();
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string leaf = std::string("qv-") + (test ? test->name() : "test");
    for (int n = 0; n < 1000; ++n) {
      std::error_code error;
      path = base / (leaf + "-" + std::to_string(n));
      if (std::filesystem::create_directory(path, error)) return;
    }
    ADD_FAILURE() << "no scratch folder could be made under " << base.string();
  }
  ~ScratchFolder() {
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path, error)) {
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_write,
                                   std::filesystem::perm_options::add, error);
    }
    std::filesystem::remove_all(path, error);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::u16string Name(const std::string& leaf) const { return (path / leaf).u16string(); }
};

}  // namespace wintest

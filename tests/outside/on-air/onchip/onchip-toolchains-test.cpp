// The encoder core in the firmware toolchains: every core source compiles without a warning in
// avr-gcc (ATmega328P), arm-none-eabi-gcc (Cortex-M0) and sdcc (8051, large model); each mode of
// the on-chip table links alone in the ARM and 8051 toolchains, and what it costs there is printed
// (the firmware with the encode call less the same firmware without it); the C example of
// examples/ builds from its Makefile. Each toolchain compiles the core once for all the tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/outside/on-air/onchip/onchip-modes.h"
#include "tests/support/needs-tool.h"
#include "tests/support/shell.h"
#include "tests/support/temp-folder.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadFileBytes;
using testsupport::ShellQuote;

const std::string kSource = QUORVEL_SOURCE_DIR;

struct Toolchain {
  const char* program;
  const char* package;
  std::string flags;   // for compiling one C file to an object
  const char* object;  // the object file's extension
};

const Toolchain kAvr = {"avr-gcc", "gcc-avr, avr-libc",
                        "-mmcu=atmega328p -Os -std=c99 -Wall -Wextra -Werror -ffunction-sections "
                        "-fdata-sections",
                        ".o"};
const Toolchain kArm = {"arm-none-eabi-gcc", "gcc-arm-none-eabi",
                        "-mcpu=cortex-m0 -mthumb -Os -std=c99 -Wall -Wextra -Werror "
                        "-ffunction-sections -fdata-sections",
                        ".o"};
// The large model keeps variables in external RAM: the 8051's 128 bytes inside hold no encoder.
const Toolchain kSdcc = {"sdcc", "sdcc", "-mmcs51 --model-large --std-c99 --opt-code-size --Werror",
                         ".rel"};
// sdcc keeps the spilled temporaries of a function that is not reentrant in the 8051's directly
// addressed internal RAM (under 128 bytes), one slot each, never shared between functions; the
// locals of functions that call no other share an overlay there. A mode whose slots or overlay do
// not fit is built reentrant: its locals and temporaries then live on the internal
// stack, whose depth nothing here measures (no 8051 simulator is run).
const Toolchain kSdccReentrant = {"sdcc", "sdcc", kSdcc.flags + " --stack-auto", ".rel"};
// The modes that need it. Any other falling back to it has grown its temporaries past the
// internal RAM, and its users' 8051 builds with it: a regression to catch, not a size to print.
const std::set<std::string> kReentrantOn8051 = {"fst4"};

// Runs a shell command with its output in `log`; the exit status, -1 when it did not end.
int RunTool(const std::string& command, const fs::path& log) {
  int status = std::system((command + " >" + ShellQuote(log.string()) + " 2>&1").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> CoreSources() {
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(kSource + "/modes/core"))
    if (entry.path().extension() == ".c") files.push_back(entry.path().string());
  return files;
}

// Every core source compiled by one toolchain, once for all tests: the objects (named after their
// sources, which are unique across the tree) and what the compiler said about each.
struct CoreBuild {
  fs::path folder;
  std::map<std::string, std::string> failures;  // source: the compiler's output, when it failed
  std::map<std::string, std::string> warnings;  // source: the compiler's output, when it spoke
  fs::path ObjectOf(const std::string& source, const Toolchain& toolchain) const {
    return folder / (fs::path(source).stem().string() + toolchain.object);
  }
};

const CoreBuild& CompiledCore(const Toolchain& toolchain) {
  static testsupport::TempFolder scratch;
  static std::map<const Toolchain*, CoreBuild> built;
  auto found = built.find(&toolchain);
  if (found != built.end()) return found->second;
  CoreBuild& build = built[&toolchain];
  build.folder = scratch.path / std::to_string(built.size());
  fs::create_directories(build.folder);
  for (const std::string& source : CoreSources()) {
    fs::path log = build.folder / "compiler.txt";
    int status = RunTool(std::string(toolchain.program) + " " + toolchain.flags + " -I" +
                             ShellQuote(kSource) + " -c " + ShellQuote(source) + " -o " +
                             ShellQuote(build.ObjectOf(source, toolchain).string()),
                         log);
    std::string said = ReadFileBytes(log);
    if (status != 0) build.failures[source] = said;
    if (!said.empty()) build.warnings[source] = said;
  }
  return build;
}

std::vector<std::string> ModeSources(const std::string& mode) {
  std::vector<std::string> files;
  std::ifstream list(std::string(ONCHIP_FIRMWARE_DIR) + "/" + mode + "/sources.txt");
  for (std::string line; std::getline(list, line);)
    if (!line.empty()) files.push_back(line);
  return files;
}

class OnChipToolchains : public testsupport::TempFolderTest {};

// The C example of examples/, built by its Makefile from this tree and from the Arduino library's
// src folder, as its README says.
TEST_F(OnChipToolchains, MakefileExampleBuildsWithoutAWarning) {
  NEED_TOOL("make", "make");
  NEED_TOOL(kAvr.program, kAvr.package);
  if (!fs::exists(kSource + "/modes/core/wspr/qvw-wspr.h"))
    GTEST_SKIP() << "the core has no WSPR encoder yet";
  for (const std::string& core : {kSource, std::string(ARDUINO_LIBRARY_DIR) + "/src"}) {
    SCOPED_TRACE(core);
    fs::remove_all("example");
    fs::copy(kSource + "/examples/atmega328p-encoder", "example");
    ASSERT_EQ(RunTool("make -C example CORE=" + ShellQuote(core), "out.txt"), 0)
        << ReadFile("out.txt");
    EXPECT_EQ(ReadFile("out.txt").find("warning"), std::string::npos) << ReadFile("out.txt");
    EXPECT_TRUE(fs::exists("example/wspr-encoder.hex"));
  }
}

struct Size {
  long flash = -1, ram = -1;
};

// text + data and data + bss of an ARM ELF, from arm-none-eabi-size's one line.
Size ArmSize(const std::string& elf) {
  Size size;
  if (RunTool("arm-none-eabi-size " + elf, "size.txt") != 0) return size;
  std::istringstream out(ReadFileBytes("size.txt"));
  std::string header;
  std::getline(out, header);
  long text = 0, data = 0, bss = 0;
  if (out >> text >> data >> bss) size = {text + data, data + bss};
  return size;
}

// Code and external RAM of an 8051 firmware, from the memory summary sdcc's linker writes.
Size SdccSize(const std::string& mem) {
  Size size;
  std::ifstream in(mem);
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    std::string first, second;
    fields >> first >> second;
    // "ROM/EPROM/FLASH START END SIZE MAX", "EXTERNAL RAM START END SIZE MAX"
    std::string start, end;
    long bytes = 0;
    if (first == "ROM/EPROM/FLASH" && fields >> end >> bytes) size.flash = bytes;
    if (first == "EXTERNAL" && second == "RAM" && fields >> start >> end >> bytes) size.ram = bytes;
  }
  return size;
}

// Builds one mode with the toolchains that print its sizes, in the current folder.
struct ModeBuild {
  std::string mode;

  std::string Flags(const Toolchain& toolchain) const {
    return std::string(toolchain.program) + " " + toolchain.flags + " -I" + ShellQuote(kSource) +
           " -I" + ShellQuote(kSource + "/tests/outside/on-air/onchip") + " -I" +
           ShellQuote(std::string(ONCHIP_FIRMWARE_DIR) + "/" + mode) + " " +
           ShellQuote(kSource + "/tests/outside/on-air/onchip/onchip-firmware.c");
  }
  // The mode's core objects from the toolchain's build; empty when one failed to compile.
  std::string Objects(const Toolchain& toolchain) const {
    const CoreBuild& build = CompiledCore(toolchain);
    std::string objects;
    for (const std::string& source : ModeSources(mode)) {
      if (build.failures.count(source)) {
        ADD_FAILURE() << source << " does not compile:\n" << build.failures.at(source);
        return "";
      }
      objects += " " + ShellQuote(build.ObjectOf(source, toolchain).string());
    }
    return objects;
  }

  void LinkForCortexM0() const {
    std::string objects = Objects(kArm);
    ASSERT_FALSE(objects.empty());
    Size sizes[2];
    for (int bare = 0; bare < 2; ++bare) {
      // No start-up code: main is the entry; the C library gives memcpy and the like.
      std::string command = Flags(kArm) + " -nostartfiles -Wl,--gc-sections -Wl,-e,main" +
                            (bare ? " -DONCHIP_NO_ENCODE" : "") + " -o fw.elf" + objects;
      ASSERT_EQ(RunTool(command, "out.txt"), 0) << command << "\n" << ReadFileBytes("out.txt");
      EXPECT_EQ(ReadFileBytes("out.txt"), "") << command;
      sizes[bare] = ArmSize("fw.elf");
      ASSERT_GE(sizes[bare].flash, 0) << ReadFileBytes("size.txt");
    }
    // A mode without static data of its own can shift the firmware's data and bss by their
    // alignment, a few bytes either way: such a difference below zero is no RAM of the mode's.
    std::printf("%s on Cortex-M0 (-Os, Thumb): flash %ld B, static RAM %ld B\n", mode.c_str(),
                sizes[0].flash - sizes[1].flash, std::max(0L, sizes[0].ram - sizes[1].ram));
  }

  void LinkFor8051() const {
    for (const Toolchain* toolchain : {&kSdcc, &kSdccReentrant}) {
      // The mode's core as a library: the linker takes only the modules the firmware calls.
      std::string objects = Objects(*toolchain);
      ASSERT_FALSE(objects.empty());
      fs::remove("core.lib");
      ASSERT_EQ(RunTool("sdar rcs core.lib" + objects, "out.txt"), 0) << ReadFileBytes("out.txt");
      Size sizes[2];
      bool internalRamFull = false;
      for (int bare = 0; bare < 2 && !internalRamFull; ++bare) {
        std::string command =
            Flags(*toolchain) + (bare ? " -DONCHIP_NO_ENCODE" : "") + " core.lib -o fw.ihx";
        int status = RunTool(command, "out.txt");
        internalRamFull =
            status != 0 && toolchain == &kSdcc &&
            ReadFileBytes("out.txt").find("in internal RAM for area") != std::string::npos;
        if (internalRamFull) break;
        ASSERT_EQ(status, 0) << command << "\n" << ReadFileBytes("out.txt");
        sizes[bare] = SdccSize("fw.mem");
        ASSERT_GE(sizes[bare].flash, 0) << ReadFileBytes("fw.mem");
      }
      if (internalRamFull) continue;
      EXPECT_TRUE(toolchain == &kSdcc || kReentrantOn8051.count(mode))
          << mode << " no longer builds for the 8051 without --stack-auto";
      std::printf("%s on 8051 (sdcc, large model%s): code %ld B, external RAM %ld B\n",
                  mode.c_str(),
                  toolchain == &kSdcc ? "" : ", reentrant: its temporaries overflow internal RAM",
                  sizes[0].flash - sizes[1].flash, sizes[0].ram - sizes[1].ram);
      return;
    }
  }
};

// One test, so that each toolchain compiles the core once (ctest runs every test in a process of
// its own): the core warning-free, then each mode linked alone.
TEST_F(OnChipToolchains, CoreWarningFreeAndEachModeLinksAlone) {
  if (CoreSources().empty()) GTEST_SKIP() << "the core has no C sources yet";
  for (const Toolchain* toolchain : {&kAvr, &kArm, &kSdcc}) {
    NEED_TOOL(toolchain->program, toolchain->package);
    const CoreBuild& build = CompiledCore(*toolchain);
    for (const auto& [source, said] : build.warnings)
      ADD_FAILURE() << toolchain->program << " on " << source << ":\n" << said;
    std::printf("%s: %zu core sources compiled, %zu with warnings\n", toolchain->program,
                CoreSources().size(), build.warnings.size());
  }
  NEED_TOOL("sdar", "sdcc");
  for (const std::string& mode : testonchip::BuiltModes()) {
    SCOPED_TRACE(mode);
    ModeBuild build{mode};
    build.LinkForCortexM0();
    build.LinkFor8051();
  }
}

}  // namespace

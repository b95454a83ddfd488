// A tmux session of its own (own server socket, 80 x 24) that runs a shell script in a temporary
// folder, with what the tests need to drive it: keys sent, the pane read back (with colours), and
// polling of the pane and of files instead of fixed sleeps.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/environment.h"
#include "tests/support/needs-tool.h"
#include "tests/support/shell.h"
#include "tests/support/temp-folder.h"

namespace terminaltest {

namespace fs = std::filesystem;

inline constexpr auto kPatience = std::chrono::seconds(10);

using testsupport::ShellQuote;

// Runs a shell command and gives what it printed.
inline std::string Output(const std::string& command) {
  std::string text;
  if (std::FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, got);
    pclose(pipe);
  }
  return text;
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::stringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The SGR parameters that a captured row (capture-pane -e) sets right before text, all joined by
// ";" and framed by ";" (";93;44;"), so a test can look for ";91;".
inline std::string ColoursBefore(const std::string& row, const std::string& text) {
  size_t at = row.find(text);
  std::string parameters = ";";
  while (at != std::string::npos && at > 0 && row[at - 1] == 'm') {
    size_t escape = row.rfind('\x1b', at - 1);
    if (escape == std::string::npos || row.compare(escape, 2, "\x1b[") != 0) break;
    parameters = ";" + row.substr(escape + 2, at - 1 - (escape + 2)) + parameters;
    at = escape;
  }
  return parameters;
}

// Polls until done() holds or the patience runs out; gives the last answer.
inline bool Eventually(const std::function<bool()>& done) {
  auto deadline = std::chrono::steady_clock::now() + kPatience;
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

using testsupport::BinFolder;

class TmuxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int sessions = 0;
    socket_ =
        "quorvel-term-" +
        std::to_string(std::chrono::steady_clock::now().time_since_epoch().count() % 1000000007) +
        "-" + std::to_string(++sessions);
    folder_.emplace();
    dir_ = folder_->path;
  }
  void TearDown() override {
    if (started_) Output(Tmux("kill-server") + " 2>/dev/null");
    folder_.reset();
  }

  std::string Tmux(const std::string& arguments) const {
    return "tmux -f /dev/null -L " + socket_ + " " + arguments;
  }

  // Starts the pane on a script; the script ends by sleeping, so the pane stays to be read.
  void Start(const std::string& script, const std::string& shell = "sh") {
    std::ofstream(dir_ / "script.sh") << script << "\nexec sleep 600\n";
    std::string command = shell + " " + ShellQuote((dir_ / "script.sh").string());
    Output("unset TMUX; " + Tmux("new-session -d -x 80 -y 24 -s main " + ShellQuote(command)));
    started_ = true;
  }

  // The lines of the window, trailing blanks dropped; with colours, SGR sequences included.
  std::vector<std::string> Screen(bool colours = false) const {
    return Lines(
        Output(Tmux(std::string("capture-pane -p ") + (colours ? "-e " : "") + "-t main")));
  }
  // Everything the pane ever showed: its scrollback, then the window.
  std::vector<std::string> Transcript() const {
    return Lines(Output(Tmux("capture-pane -p -S - -E - -t main")));
  }
  std::string Row(int y) const {
    std::vector<std::string> rows = Screen();
    return y < static_cast<int>(rows.size()) ? rows[static_cast<size_t>(y)] : "";
  }
  std::pair<int, int> Cursor() const {
    std::string at = Output(Tmux("display-message -p -t main '#{cursor_x} #{cursor_y}'"));
    int x = -1;
    int y = -1;
    std::sscanf(at.c_str(), "%d %d", &x, &y);
    return {x, y};
  }
  bool WaitForRow(int y, const std::string& text) {
    bool seen = Eventually([&] { return Row(y) == text; });
    EXPECT_TRUE(seen) << "row " << y << " never read \"" << text << "\"; it reads \"" << Row(y)
                      << "\"";
    return seen;
  }
  bool WaitForText(const std::string& text) {
    bool seen = Eventually([&] {
      for (const std::string& row : Screen()) {
        if (row.find(text) != std::string::npos) return true;
      }
      return false;
    });
    EXPECT_TRUE(seen) << "the pane never showed \"" << text << "\"";
    return seen;
  }

  // tmux key names (Enter, BSpace, M-a, F5, C-c ...), each a word.
  void Keys(const std::string& names) { Output(Tmux("send-keys -t main " + names)); }
  void Type(const std::string& literal) {
    Output(Tmux("send-keys -t main -l " + ShellQuote(literal)));
  }

  fs::path File(const std::string& name) const { return dir_ / name; }
  std::string Read(const std::string& name) const { return testsupport::ReadFileBytes(File(name)); }
  // Waits until the file exists with a whole last line.
  std::string WaitForFile(const std::string& name) {
    bool ready = Eventually([&] {
      std::string text = Read(name);
      return !text.empty() && text.back() == '\n';
    });
    EXPECT_TRUE(ready) << name << " was never written";
    return Read(name);
  }

  // A script line that runs command in the foreground with its process id in the file "pid".
  std::string Tracked(const std::string& command) const {
    return "sh -c " +
           ShellQuote("echo $$ > " + ShellQuote(File("pid").string()) + "; exec " + command);
  }
  void Signal(const std::string& signal) {
    std::string pid = WaitForFile("pid");
    Output("kill -" + signal + " " + std::to_string(std::atoi(pid.c_str())));
  }

  std::string socket_;
  fs::path dir_;
  bool started_ = false;

 private:
  std::optional<testsupport::TempFolder> folder_;
};

}  // namespace terminaltest

#define NEED_TMUX() NEED_TOOL("tmux", "package tmux")

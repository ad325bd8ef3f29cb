#pragma once
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/app_control.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/locale.h"
#include "platform/playback.h"

namespace orv::test {

class FakeDialogs : public Dialogs {
 public:
  struct Shown {
    std::string text, title;
    MsgButtons buttons;
    MsgIcon icon;
    int defaultButton;
  };
  MsgResult show(const std::string& text, const std::string& title, MsgButtons buttons, MsgIcon icon,
                 int defaultButton) override {
    shown.push_back({text, title, buttons, icon, defaultButton});
    if (whileOpen) whileOpen(shown.back());  // ticks and events go on behind a modal box
    if (buttons == MsgButtons::Ok) return MsgResult::Ok;
    return answer;
  }
  std::vector<Shown> shown;
  MsgResult answer = MsgResult::Yes;
  std::function<void(const Shown&)> whileOpen;
};

// Files in memory. Paths are compared as given; listing supports "*" and "?"
// in the last path component and a trailing "\" for a whole folder.
class FakeFileSystem : public FileSystem {
 public:
  ListResult listNormalFiles(const std::string& pattern) override;
  bool exists(const std::string& path) override { return files.count(path) > 0; }
  std::optional<std::string> readAll(const std::string& path, std::string* error = nullptr) override;
  WriteResult replaceAll(const std::string& path, const std::string& bytes,
                         const std::string& backupPath = {}) override;
  std::string programFolder() override { return folder; }

  std::map<std::string, std::string> files;   // path -> content
  std::map<std::string, bool> hidden;         // path -> hidden or system
  std::vector<std::string> unlistable;        // patterns that fail to list
  std::vector<std::string> unreadable;        // exist, but reading fails with readError
  std::string readError = "O arquivo j\xC3\xA1 est\xC3\xA1 sendo usado por outro processo.";
  bool failWrites = false;
  std::string folder = "C:\\Orvalen";
};

// Windows-1252 with "," as the decimal separator unless told otherwise.
class FakeLocale : public Locale {
 public:
  std::string decimalSeparator() const override { return decimal; }
  std::string thousandsSeparator() const override { return thousands; }
  std::optional<std::string> toAnsi(const std::string& utf8) const override;
  std::string fromAnsi(const std::string& ansi) const override;
  std::string decimal = ",";
  std::string thousands = ".";
};

class FakeApp : public AppControl {
 public:
  void quit(int code) override {
    quitCalls++;
    exitCode = code;
  }
  bool quitting() const override { return quitCalls > 0; }
  int quitCalls = 0;
  int exitCode = -1;
};

// A playback whose position follows a clock function given by the test.
class FakePlayback : public PlaybackFactory {
 public:
  struct Graph;
  std::unique_ptr<PlaybackGraph> create() override;

  // Files that render, with their length in seconds.
  std::map<std::string, double> lengths;
  bool createFails = false;
  std::function<double()> now;        // seconds, from the test's clock
  bool stalled = false;               // position stops advancing
  double durationError = 0;           // added to the length the graph reports
  bool runFails = false;
  int created = 0, released = 0, live = 0;
  std::vector<std::string> log;       // "create", "render(x)", "run", "volume(-1404)", "seek(3)", "release"
};

}  // namespace orv::test

#pragma once
// The program's command line. Only the host choice and the host log change
// what the program does; --help and --version just print.
#include <string>
#include <vector>

namespace orv {

enum class HostKind { Real, Simulator };

struct CommandLine {
  HostKind host = HostKind::Real;
  std::string hostLog;       // empty: no log
  std::string recordLog;     // --log: the transmission record; empty: none
  bool help = false;
  bool version = false;
  std::string error;         // not empty: the arguments were not understood
};

CommandLine ParseCommandLine(const std::vector<std::string>& args);  // without the program name
std::string UsageText();
std::string VersionText();

}  // namespace orv

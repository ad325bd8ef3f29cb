#include "tests/e2e/testhost_session.h"

namespace orv::testhost {
int Control(const std::vector<std::wstring>& args, std::string& out);
}

namespace orv::e2e {

int Ctl(const std::vector<std::wstring>& args, std::string* out) {
  std::string text;
  const int code = orv::testhost::Control(args, text);
  if (out) *out = text;
  return code;
}

std::vector<std::string> HostCalls() {
  std::string out;
  Ctl({L"calls"}, &out);
  std::vector<std::string> calls;
  size_t start = 0;
  while (start < out.size()) {
    size_t end = out.find('\n', start);
    if (end == std::string::npos) end = out.size();
    std::string line = out.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] != '#') calls.push_back(line);
    start = end + 1;
  }
  return calls;
}

bool HostLogHasLine(const std::string& line) {
  std::string out;
  Ctl({L"calls"}, &out);
  size_t start = 0;
  while (start < out.size()) {
    size_t end = out.find('\n', start);
    if (end == std::string::npos) end = out.size();
    if (out.compare(start, end - start, line) == 0) return true;
    start = end + 1;
  }
  return false;
}

std::vector<ProgramLogLine> ReadProgramLog(const std::wstring& path) {
  std::vector<ProgramLogLine> lines;
  for (const auto& l : ReadLines(path)) {
    if (l.size() < 24) continue;
    // "YYYY-MM-DD HH:MM:SS.mmm operation"
    const double at = std::stoi(l.substr(11, 2)) * 3600 + std::stoi(l.substr(14, 2)) * 60 + std::stod(l.substr(17, 6));
    lines.push_back({at, LogOperation(l)});
  }
  return lines;
}

double SecondsOfDayNow() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return t.wHour * 3600 + t.wMinute * 60 + t.wSecond + t.wMilliseconds / 1000.0;
}

void TestHostTest::TearDown() {
  program.reset();
  Ctl({L"die"});
  WaitUntil([] { return Ctl({L"sinks"}) == 3; }, 10s);
}

void TestHostTest::Start(const std::wstring& args) {
  program = std::make_unique<RunningProgram>(dir, args);
  ASSERT_TRUE(program->started());
  ASSERT_TRUE(program->WaitForMainWindow()) << "no main window";
  ASSERT_EQ(Ctl({L"wait-sinks", L"1", L"10"}), 0);
}

void TestHostTest::SelectRfIp() {
  program->Click(kCheck21);
  ASSERT_TRUE(WaitUntil([&] { return program->Check(kCheck20) == 0; }));
  program->Click(kCheck21);
  ASSERT_TRUE(WaitUntil([&] { return program->Check(kCheck21) == 1; }));
}

}  // namespace orv::e2e

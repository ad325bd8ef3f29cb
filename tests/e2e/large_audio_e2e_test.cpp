// Long messages never hold the window up: converting them for the host runs
// beside it, the window answers within 250 ms and its clock keeps time
// throughout, a due message waits for its copy, and the host is handed the
// copy whole.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <set>
#include <string>

#include "tests/e2e/testhost_session.h"

using namespace orv::e2e;

namespace {

constexpr auto kAnswerWithin = 250ms;
constexpr double kMinutes = 20;

std::wstring Widened(const std::string& s) {
  std::wstring w(s.size() + 1, L'\0');
  w.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(),
                                                   static_cast<int>(w.size()))));
  return w;
}

unsigned Le(const std::string& b, size_t at) {
  unsigned v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
  return v;
}

// The paths of the host's TransmitFile calls, in order.
std::vector<std::string> SentPaths() {
  std::vector<std::string> paths;
  for (const std::string& call : HostCalls())
    if (call.rfind("TransmitFile(", 0) == 0) paths.push_back(call.substr(13, call.rfind(",-1)") - 13));
  return paths;
}

struct LargeAudioE2E : TestHostTest {
  // The copy at `path` holds the whole message in the host's format.
  void ExpectWholeCopy(const std::string& path) {
    const std::wstring file = Widened(path);
    const std::string head = ReadFileBytes(file).substr(0, 44);
    ASSERT_EQ(head.size(), 44u) << path;
    EXPECT_EQ(head.substr(0, 4), "RIFF");
    EXPECT_EQ(Le(head, 24), 8000u) << "8000 Hz";
    EXPECT_EQ(head[22], 1) << "mono";
    EXPECT_EQ(head[34], 8) << "8 bits";
    EXPECT_EQ(Le(head, 40), static_cast<unsigned>(kMinutes * 60 * 8000)) << "all of it";
    WIN32_FILE_ATTRIBUTE_DATA a{};
    ASSERT_TRUE(GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &a));
    EXPECT_EQ(a.nFileSizeLow, 44u + Le(head, 40));
  }
  void ExpectAnswering(const WindowWatch& watch) {
    std::printf("asked %d times: longest answer %lld ms, clock still at most %lld ms\n", watch.asked(),
                static_cast<long long>(watch.longestAnswer().count()), static_cast<long long>(watch.longestStill().count()));
    EXPECT_GT(watch.asked(), 100);
    EXPECT_LT(watch.longestAnswer(), kAnswerWithin);
    EXPECT_LT(watch.longestStill(), 1000ms + kAnswerWithin) << "the clock stood still";
  }
  void TearDown() override {
    // The copies go with the test; the next start would sweep them anyway.
    for (const std::string& path : SentPaths()) {
      const std::wstring file = Widened(path);
      if (file.rfind(dir.path(), 0) == 0) continue;
      DeleteFileW(file.c_str());
      DeleteFileW((file.substr(0, file.size() - 4) + L".txt").c_str());
    }
    TestHostTest::TearDown();
  }
};

}  // namespace

TEST_F(LargeAudioE2E, TwentyMinutesOfStereoSwitchedToRfIpLeaveTheWindowAnsweringAndGoWhole) {
  WriteWav(dir.file(L"longa.wav"), kMinutes * 60, 48000, 16, 2);
  WriteFileBytes(dir.file(L"orvalen.txt"), OneSlotList("longa.wav", "3"));
  Start(L"");
  WindowWatch watch(program->mainWindow(), program->control(kShowTime));
  SelectRfIp();
  std::vector<std::string> sent;
  ASSERT_TRUE(WaitUntil([&] { return !(sent = SentPaths()).empty(); }, 150s)) << "nothing sent";
  watch.stop();
  ExpectAnswering(watch);
  EXPECT_EQ(Widened(sent[0]).rfind(dir.path(), 0), std::wstring::npos) << "the copy, not the message";
  ExpectWholeCopy(sent[0]);
}

TEST_F(LargeAudioE2E, NineLargeFilesArmedAtStartUpLeaveTheWindowAnsweringAndEachGoesWhole) {
  WriteWav(dir.file(L"grande1.wav"), kMinutes * 60, 48000, 16, 2);
  std::vector<std::pair<std::string, std::string>> slots{{"grande1.wav", "5"}};
  for (int i = 2; i <= 9; ++i) {
    const std::string name = "grande" + std::to_string(i) + ".wav";
    ASSERT_TRUE(LinkFile(dir.file(L"grande1.wav"), dir.file(Widened(name))));
    slots.push_back({name, std::to_string(4 + i)});
  }
  WriteFileBytes(dir.file(L"orvalen.txt"), SlotList(slots));
  Start(L"");
  WindowWatch watch(program->mainWindow(), program->control(kShowTime));
  for (int i = 0; i < 9; ++i) EXPECT_EQ(program->Check(kCheckBase + i), 1) << "slot " << i + 1 << " armed";
  SelectRfIp();
  std::set<std::string> copies;
  ASSERT_TRUE(WaitUntil([&] {
    const auto sent = SentPaths();
    copies = std::set<std::string>(sent.begin(), sent.end());
    return copies.size() >= 9;
  }, 170s)) << copies.size() << " of 9 sent";
  watch.stop();
  ExpectAnswering(watch);
  for (const std::string& path : copies) ExpectWholeCopy(path);
}

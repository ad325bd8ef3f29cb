// Commands from the radio end to end: the real program against the test
// host, DTMF strings raised by the host, the slots, the stop, the lockout,
// the spoken time, and the host log and record that never show the code.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "tests/e2e/testhost_session.h"

using namespace orv::e2e;

namespace {

const std::string kControl = "prefixo D\r\ncodigo 4821\r\n";
const std::string kStoppedSuffix = " - parado pelo r\xC3\xA1" "dio";

struct RemoteE2E : TestHostTest {
  void Start() { TestHostTest::Start(L"--host-log=host.log --log=record.log"); }
  // The host's TransmitFile calls for files whose name ends with `name`.
  int Sent(const std::string& name) {
    int n = 0;
    for (const auto& c : HostCalls())
      n += c.rfind("TransmitFile(", 0) == 0 && c.find("\\" + name + ",") != std::string::npos;
    return n;
  }
  // Record lines of the commands: "file<TAB>outcome".
  std::vector<std::string> Commands() {
    std::vector<std::string> out;
    for (const auto& l : ReadLines(dir.file(L"record.log"))) {
      const auto origin = l.find("\tDTMF\t");
      if (origin == std::string::npos) continue;
      const std::string rest = l.substr(origin + 6);
      const auto mode = rest.find('\t');
      const auto outcome = rest.find('\t', mode + 1);
      out.push_back(rest.substr(0, mode) + "\t" + rest.substr(outcome + 1));
    }
    return out;
  }
  void Dtmf(const std::string& digits) {
    ASSERT_EQ(Ctl({L"dtmf", std::wstring(digits.begin(), digits.end())}), 0);
  }
  // Nowhere the program writes does the code appear.
  void ExpectNoCode() {
    for (const wchar_t* file : {L"host.log", L"record.log"})
      for (const auto& l : ReadLines(dir.file(file))) EXPECT_EQ(l.find("4821"), std::string::npos) << l;
  }
};

}  // namespace

TEST_F(RemoteE2E, TheCodeAndOneOneSendSlotOneThroughTheHostAndTheConfirmation) {
  WriteWav(dir.file(L"a.wav"), 1.0);
  WriteWav(dir.file(L"confirma.wav"), 0.5);
  WriteFileBytes(dir.file(L"orvalen.txt"), OneSlotList("a.wav", "3600"));
  WriteFileBytes(dir.file(L"orvalen-controle.txt"), kControl + "confirmacao confirma.wav\r\n");
  Start();
  SelectRfIp();
  Dtmf("D482111");
  ASSERT_TRUE(WaitUntil([&] { return Sent("confirma.wav") == 1; }, 10s)) << "no confirmation";
  EXPECT_EQ(Sent("a.wav"), 1);
  // The slot's message first, then the answer.
  const auto calls = HostCalls();
  const auto a = std::find_if(calls.begin(), calls.end(), [](auto& c) { return c.find("\\a.wav,") != std::string::npos; });
  const auto ok = std::find_if(calls.begin(), calls.end(), [](auto& c) { return c.find("\\confirma.wav,") != std::string::npos; });
  EXPECT_LT(a, ok);
  ASSERT_TRUE(WaitUntil([&] { return !Commands().empty(); }, 5s));
  EXPECT_EQ(Commands()[0], "enviar slot 1\taceito");
  // The host log shows the string masked after its prefix.
  bool masked = false;
  for (const auto& l : ReadLines(dir.file(L"host.log"))) masked |= LogOperation(l) == "event DTMFString(D******)";
  EXPECT_TRUE(masked);
  ExpectNoCode();
}

TEST_F(RemoteE2E, ZeroStopsASlotForTwoOfItsPeriodsAndNineResumesIt) {
  WriteWav(dir.file(L"a.wav"), 0.5);
  WriteFileBytes(dir.file(L"orvalen.txt"), OneSlotList("a.wav", "3"));   // every 4 s
  WriteFileBytes(dir.file(L"orvalen-controle.txt"), kControl);
  Start();
  SelectRfIp();
  ASSERT_TRUE(WaitUntil([&] { return Sent("a.wav") >= 1; }, 10s));
  Dtmf("D48210");
  ASSERT_TRUE(WaitUntil([&] { return program->Caption().ends_with(kStoppedSuffix); }, 5s)) << program->Caption();
  const int before = Sent("a.wav");
  Sleep(9000);   // two periods and more
  EXPECT_EQ(Sent("a.wav"), before) << "sent while stopped";
  EXPECT_NE(ReadFileBytes(dir.file(L"orvalen-controle.txt")).find("parado sim"), std::string::npos);
  EXPECT_EQ(program->Text(kPtt), "PTT OFF");
  Dtmf("D48219");
  ASSERT_TRUE(WaitUntil([&] { return !program->Caption().ends_with(kStoppedSuffix); }, 5s));
  EXPECT_TRUE(WaitUntil([&] { return Sent("a.wav") > before; }, 10s)) << "not sent again after 9";
  EXPECT_EQ(ReadFileBytes(dir.file(L"orvalen-controle.txt")).find("parado"), std::string::npos);
  ASSERT_TRUE(WaitUntil([&] { return Commands().size() == 2; }, 5s));
  EXPECT_EQ(Commands(), (std::vector<std::string>{"parar\taceito", "retomar\taceito"}));
  ExpectNoCode();
}

TEST_F(RemoteE2E, ThreeWrongCodesThenTheRightOneWhichIsIgnored) {
  WriteWav(dir.file(L"a.wav"), 0.5);
  WriteFileBytes(dir.file(L"orvalen.txt"), OneSlotList("a.wav", "3600"));
  WriteFileBytes(dir.file(L"orvalen-controle.txt"), kControl);
  Start();
  SelectRfIp();
  for (const char* wrong : {"D1111", "D4822", "D48"}) {
    const size_t n = Commands().size();
    Dtmf(wrong);
    ASSERT_TRUE(WaitUntil([&] { return Commands().size() == n + 1; }, 5s)) << wrong;
  }
  Dtmf("D482111");
  ASSERT_TRUE(WaitUntil([&] { return Commands().size() == 4; }, 5s));
  Sleep(1500);
  EXPECT_EQ(Sent("a.wav"), 0);
  const std::string wrong = "-\trecusado: c\xC3\xB3" "digo errado";
  EXPECT_EQ(Commands(), (std::vector<std::string>{wrong, wrong, wrong + "; bloqueado por 15 min", "-\tbloqueado"}));
  ExpectNoCode();
}

TEST_F(RemoteE2E, TheTimeOfDayGoesToTheHostAsOneFileTheLengthOfItsClips) {
  // Each clip a length of its own, some of them not in the host's format.
  CreateDirectoryW(dir.file(L"hora").c_str(), nullptr);
  auto hourClip = [](int h) { return 0.30 + 0.01 * h; };
  auto minuteClip = [](int m) { return 0.25 + 0.005 * m; };
  WriteWav(dir.file(L"hora\\abertura.wav"), 0.40, 22050, 16, 2);
  WriteWav(dir.file(L"hora\\fecho.wav"), 0.35, 44100, 16, 1);
  for (int h = 0; h < 24; ++h) {
    wchar_t name[32];
    swprintf(name, 32, L"hora\\h%02d.wav", h);
    WriteWav(dir.file(name), hourClip(h));
  }
  for (int m = 0; m < 60; ++m) {
    wchar_t name[32];
    swprintf(name, 32, L"hora\\m%02d.wav", m);
    WriteWav(dir.file(name), minuteClip(m), 16000, 16, 1);
  }
  SYSTEMTIME now;
  GetLocalTime(&now);
  // Room before the due time for the start-up and the mode choice.
  if (now.wSecond > 45) Sleep((61 - now.wSecond) * 1000);
  GetLocalTime(&now);
  const int due = (now.wMinute + 1) % 60;
  char line[64];
  std::snprintf(line, sizeof line, "*:%02d todos @hora\r\n", due);
  WriteFileBytes(dir.file(L"orvalen-agenda.txt"), line);
  Start();
  SelectRfIp();
  std::string call;
  ASSERT_TRUE(WaitUntil([&] {
    for (const auto& c : HostCalls())
      if (c.find("hora-certa") != std::string::npos) call = c;
    return !call.empty();
  }, 80s)) << "the time was never handed over";
  // "TransmitFile(<path>,-1)": the file itself, as the host got it.
  const std::string path = call.substr(13, call.rfind(',') - 13);
  const std::string wav = ReadFileBytes(std::wstring(path.begin(), path.end()));
  ASSERT_GT(wav.size(), 44u);
  EXPECT_EQ(wav.substr(20, 16), std::string("\x01\x00\x01\x00\x40\x1f\x00\x00\x40\x1f\x00\x00\x01\x00\x08\x00", 16))
      << "not PCM 8-bit mono 8000 Hz";
  const auto u32 = [&](size_t at) {
    return static_cast<unsigned>(static_cast<unsigned char>(wav[at])) | static_cast<unsigned char>(wav[at + 1]) << 8 |
           static_cast<unsigned char>(wav[at + 2]) << 16 | static_cast<unsigned>(static_cast<unsigned char>(wav[at + 3])) << 24;
  };
  const double seconds = u32(40) / 8000.0;
  SYSTEMTIME sent;
  GetLocalTime(&sent);
  const int hour = sent.wMinute == due ? sent.wHour : (sent.wHour + 23) % 24;
  const double expected = 0.40 + hourClip(hour) + minuteClip(due) + 0.35;
  EXPECT_NEAR(seconds, expected, 0.050);
  std::printf("the time %02d:%02d: %.3f s handed over, clips sum to %.3f s\n", hour, due, seconds, expected);
  ASSERT_TRUE(WaitUntil([&] {
    for (const auto& l : ReadLines(dir.file(L"record.log")))
      if (l.find("\t@hora\tRF+IP\tenviada") != std::string::npos) return true;
    return false;
  }, 5s));
}

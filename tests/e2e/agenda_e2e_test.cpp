// The agenda and the record end to end: the real program against the test
// host, entries due at the next minutes, a busy flag, and the --log file.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "tests/e2e/testhost_session.h"

using namespace orv::e2e;

namespace {

double SecondsOfDay(const SYSTEMTIME& t) { return t.wHour * 3600 + t.wMinute * 60 + t.wSecond + t.wMilliseconds / 1000.0; }

std::string HhMm(int minuteOfDay) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02d:%02d", minuteOfDay / 60 % 24, minuteOfDay % 60);
  return buf;
}

struct AgendaE2E : TestHostTest {
  // Seconds of the day at which the host log saw the first call holding `text`.
  double LoggedAt(const std::string& text) {
    for (const auto& l : ReadLines(dir.file(L"host.log"))) {
      if (LogOperation(l).find(text) == std::string::npos) continue;
      return std::stoi(l.substr(11, 2)) * 3600 + std::stoi(l.substr(14, 2)) * 60 + std::stod(l.substr(17, 6));
    }
    return -1;
  }
};

}  // namespace

TEST_F(AgendaE2E, EntriesGoOutAtSecondZeroOrWhenTheHostIsFreeAndAreRecorded) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  // Room before the first due time for the start-up and the mode choice.
  if (now.wSecond > 45) Sleep((61 - now.wSecond) * 1000);
  GetLocalTime(&now);
  const int first = (now.wHour * 60 + now.wMinute + 1) % 1440;
  WriteWav(dir.file(L"a.wav"), 1.0);
  WriteWav(dir.file(L"b.wav"), 1.0);
  WriteWav(dir.file(L"ident.wav"), 1.0);
  std::string agendaText = HhMm(first) + " todos a.wav\r\n";
  agendaText += HhMm(first + 1) + " todos b.wav\r\n";
  agendaText += "# coment\xE1rio\r\n-00:00 todos desligada.wav\r\n";
  WriteFileBytes(dir.file(L"orvalen-agenda.txt"), agendaText);
  WriteFileBytes(dir.file(L"orvalen.txt"), OneSlotList("ident.wav", "2"));
  Start(L"--host-log=host.log --log=record.log");
  SelectRfIp();
  // One slot send is enough for the record; then the slot stops.
  ASSERT_TRUE(WaitUntil([&] { return LoggedAt("ident.wav") >= 0; }, 10s));
  program->Click(kCheckBase);
  ASSERT_TRUE(WaitUntil([&] { return program->Check(kCheckBase) == 0; }));

  ASSERT_TRUE(WaitUntil([&] { return LoggedAt("\\a.wav") >= 0; }, 75s)) << "entry 1 never sent";
  const double sentA = LoggedAt("\\a.wav");
  EXPECT_GE(sentA, first * 60.0);
  EXPECT_LT(sentA, first * 60.0 + 2.0) << "not within 2 s of second 00";

  // Busy across the second entry's due time; it goes out once the flag clears.
  ASSERT_EQ(Ctl({L"busy2", L"on"}), 0);
  SYSTEMTIME t;
  do {
    Sleep(200);
    GetLocalTime(&t);
  } while (SecondsOfDay(t) < (first + 1) * 60.0 + 4 && SecondsOfDay(t) > first * 60.0);
  EXPECT_LT(LoggedAt("\\b.wav"), 0) << "sent while the host was busy";
  ASSERT_EQ(Ctl({L"busy2", L"off"}), 0);
  GetLocalTime(&t);
  const double cleared = SecondsOfDay(t);
  ASSERT_TRUE(WaitUntil([&] { return LoggedAt("\\b.wav") >= 0; }, 5s)) << "entry 2 never sent";
  EXPECT_LT(LoggedAt("\\b.wav") - cleared, 2.0);
  std::printf("entry 1 sent %.3f s after second 00; entry 2 sent %.3f s after the flag cleared\n",
              sentA - first * 60.0, LoggedAt("\\b.wav") - cleared);

  // The record, tab-separated.
  // The record line is written once the send has ended, a moment after the
  // host logged the call.
  std::vector<std::string> agenda1, agenda2, slot1;
  WaitUntil([&] {
    agenda1.clear(), agenda2.clear(), slot1.clear();
    for (const auto& l : ReadLines(dir.file(L"record.log"))) {
      if (l.find("\tagenda 1\ta.wav\tRF+IP\tenviada") != std::string::npos) agenda1.push_back(l);
      if (l.find("\tagenda 2\tb.wav\tRF+IP\tenviada ap\xC3\xB3s ") != std::string::npos) agenda2.push_back(l);
      if (l.find("\tslot 1\tident.wav\tRF+IP\tenviada") != std::string::npos) slot1.push_back(l);
    }
    return !agenda2.empty();
  }, 5s);
  EXPECT_EQ(agenda1.size(), 1u);
  ASSERT_EQ(agenda2.size(), 1u);
  EXPECT_NE(agenda2[0].find(" s de espera"), std::string::npos) << agenda2[0];
  EXPECT_GE(slot1.size(), 1u);
  ASSERT_FALSE(agenda1.empty());
  EXPECT_EQ(agenda1[0].substr(11, 7), HhMm(first) + ":0") << agenda1[0];
}

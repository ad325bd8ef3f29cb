#include "host/win/com_host.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "host/win/tests/testhost_control.h"
#include "platform/win/scoped.h"

namespace orv::win {
namespace {

using test::Ctl;
using test::CtlExe;
using test::HostCalls;
using test::HostLog;
using test::PumpUntil;

class Events : public HostEvents {
 public:
  void onDtmfString(const std::string& d) override {
    seen.push_back("DTMFString(" + d + ")");
    threads.push_back(::GetCurrentThreadId());
  }
  void onClosing() override {
    seen.push_back("Closing");
    threads.push_back(::GetCurrentThreadId());
  }
  std::vector<std::string> seen;
  std::vector<DWORD> threads;
};

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class ComHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(com.result()));
    ASSERT_EQ(Ctl({L"reset"}).exitCode, 0u);
  }
  std::unique_ptr<Host> Create() {
    auto made = CreateComHost();
    EXPECT_TRUE(made.host) << made.error;
    EXPECT_EQ(made.eventsError, "");
    return std::move(made.host);
  }
  ComApartment com;
};

TEST_F(ComHostTest, EveryOperationArrivesByNameWithTruthValuesAsMinusOneAndZero) {
  auto host = Create();
  ASSERT_TRUE(host);
  ASSERT_EQ(Ctl({L"station", L"PY2ÁÇÃ-L"}).exitCode, 0u);

  auto name = host->stationName();
  EXPECT_TRUE(name.ok) << name.error;
  EXPECT_EQ(name.value, "PY2ÁÇÃ-L");
  EXPECT_TRUE(host->setTransmit(true).ok);
  EXPECT_TRUE(host->setTransmit(false).ok);
  EXPECT_TRUE(host->secondBusyFlag().ok);
  EXPECT_TRUE(host->firstBusyFlag().ok);
  EXPECT_TRUE(host->sendIdentification(false).ok);
  EXPECT_TRUE(host->transmitFile("C:\\Orvalen\\Olá 1.wav", true).ok);
  EXPECT_TRUE(host->exitSignal(false).ok);

  EXPECT_EQ(HostCalls(), (std::vector<std::string>{
                             "StationObject", "StationName", "SetTransmit(-1)", "SetTransmit(0)", "SecondBusyFlag",
                             "FirstBusyFlag",
                             "SendIdentification(0)",   // the optional argument omitted
                             "TransmitFile(C:\\Orvalen\\Olá 1.wav,-1)", "ExitSignal(0)"}));
}

TEST_F(ComHostTest, BusyFlagsReadBackAsTheHostReportsThem) {
  auto host = Create();
  ASSERT_TRUE(host);
  EXPECT_FALSE(host->firstBusyFlag().value);
  EXPECT_FALSE(host->secondBusyFlag().value);
  Ctl({L"busy1", L"on"});
  EXPECT_TRUE(host->firstBusyFlag().value);
  EXPECT_FALSE(host->secondBusyFlag().value);
  Ctl({L"busy1", L"off"});
  Ctl({L"busy2", L"on"});
  auto second = host->secondBusyFlag();
  EXPECT_TRUE(second.ok);
  EXPECT_TRUE(second.value);
  EXPECT_FALSE(host->firstBusyFlag().value);
}

TEST_F(ComHostTest, AFailingCallReportsFailureInPlainWords) {
  auto host = Create();
  ASSERT_TRUE(host);
  Ctl({L"fail", L"SetTransmit"});
  Ctl({L"fail", L"FirstBusyFlag:hresult"});
  Ctl({L"fail", L"StationName"});

  auto keyed = host->setTransmit(true);
  EXPECT_FALSE(keyed.ok);
  EXPECT_TRUE(Contains(keyed.error, "SetTransmit failed")) << keyed.error;
  EXPECT_TRUE(Contains(keyed.error, "SetTransmit refused by the test host")) << keyed.error;
  EXPECT_TRUE(Contains(keyed.error, "orvalen_testhost")) << keyed.error;

  auto busy = host->firstBusyFlag();
  EXPECT_FALSE(busy.ok);
  EXPECT_TRUE(Contains(busy.error, "FirstBusyFlag failed")) << busy.error;
  EXPECT_TRUE(Contains(busy.error, "Catastrophic failure (0x8000FFFF)")) << busy.error;

  auto name = host->stationName();
  EXPECT_FALSE(name.ok);
  EXPECT_TRUE(Contains(name.error, "StationName refused")) << name.error;

  // Other calls go on working.
  EXPECT_TRUE(host->setTransmit(false).ok == false);
  EXPECT_TRUE(host->exitSignal(false).ok);
  Ctl({L"heal", L"all"});
  EXPECT_TRUE(host->setTransmit(false).ok);
}

TEST_F(ComHostTest, EventsArriveThroughTheConnectionPointOnTheUserInterfaceThread) {
  auto host = Create();
  ASSERT_TRUE(host);
  Events events;
  host->setEventSink(&events);
  // Through the control program itself, as the end-to-end scripts drive it.
  ASSERT_EQ(CtlExe(L"sinks").out, "1\n");
  ASSERT_EQ(CtlExe(L"dtmf AA").exitCode, 0u);
  ASSERT_EQ(CtlExe(L"dtmf \"\"").exitCode, 0u);
  ASSERT_EQ(CtlExe(L"dtmf \"7 #*\"").exitCode, 0u);
  ASSERT_EQ(CtlExe(L"closing").exitCode, 0u);
  ASSERT_TRUE(PumpUntil([&] { return events.seen.size() >= 4; }, 10000)) << events.seen.size();

  EXPECT_EQ(events.seen,
            (std::vector<std::string>{"DTMFString(AA)", "DTMFString()", "DTMFString(7 #*)", "Closing"}));
  for (DWORD t : events.threads) EXPECT_EQ(t, ::GetCurrentThreadId());
  auto log = HostLog();
  EXPECT_NE(std::find(log.begin(), log.end(), "# event DTMFString(AA) sinks=1"), log.end());
}

TEST_F(ComHostTest, EventsAreFoundWithoutClassInfoThroughTheTypeLibrary) {
  Ctl({L"noclassinfo", L"on"});
  auto host = Create();
  ASSERT_TRUE(host);
  Events events;
  host->setEventSink(&events);
  Ctl({L"dtmf", L"123"});
  ASSERT_TRUE(PumpUntil([&] { return !events.seen.empty(); }, 10000));
  EXPECT_EQ(events.seen[0], "DTMFString(123)");
}

TEST_F(ComHostTest, EventsWaitForTheMessageLoopAndStopWithTheSink) {
  auto host = Create();
  ASSERT_TRUE(host);
  Events events;
  Ctl({L"dtmf", L"AA"});   // no sink yet: dropped
  PumpUntil([] { return false; }, 500);
  host->setEventSink(&events);
  EXPECT_TRUE(events.seen.empty());
  Ctl({L"dtmf", L"BB"});
  ::Sleep(300);
  EXPECT_TRUE(events.seen.empty());   // nothing without the message loop
  ASSERT_TRUE(PumpUntil([&] { return !events.seen.empty(); }, 10000));
  EXPECT_EQ(events.seen, std::vector<std::string>{"DTMFString(BB)"});
}

TEST_F(ComHostTest, AnEventRaisedWhileTheProgramWaitsOnACallComesAfterTheCall) {
  auto host = Create();
  ASSERT_TRUE(host);
  Events events;
  host->setEventSink(&events);
  ASSERT_EQ(Ctl({L"dtmf-during", L"SetTransmit", L"AA"}).exitCode, 0u);
  EXPECT_TRUE(host->setTransmit(true).ok);
  // The handler would otherwise run in the middle of the caller's step.
  EXPECT_TRUE(events.seen.empty());
  EXPECT_TRUE(host->firstBusyFlag().ok);
  EXPECT_TRUE(events.seen.empty());
  ASSERT_TRUE(PumpUntil([&] { return !events.seen.empty(); }, 10000));
  EXPECT_EQ(events.seen, std::vector<std::string>{"DTMFString(AA)"});
  auto log = HostLog();
  EXPECT_NE(std::find(log.begin(), log.end(), "# raising DTMFString(AA) inside SetTransmit"), log.end());
}

// The program ends inside its Closing handler, host object and all.
TEST_F(ComHostTest, TheHandlerMayDestroyTheHostItCameFrom) {
  class Ender : public HostEvents {
   public:
    std::unique_ptr<Host>* host = nullptr;
    int closings = 0;
    void onDtmfString(const std::string&) override {}
    void onClosing() override {
      ++closings;
      (*host)->setTransmit(false);
      host->reset();
    }
  } ender;
  auto host = Create();
  ASSERT_TRUE(host);
  ender.host = &host;
  host->setEventSink(&ender);
  Ctl({L"closing"});
  Ctl({L"closing"});   // the second finds the host gone and is dropped
  ASSERT_TRUE(PumpUntil([&] { return !host; }, 10000));
  PumpUntil([] { return false; }, 300);
  EXPECT_EQ(ender.closings, 1);
  auto calls = HostCalls();
  EXPECT_EQ(calls, std::vector<std::string>{"SetTransmit(0)"});
}

TEST_F(ComHostTest, DestroyingTheHostDisconnectsItsEvents) {
  {
    auto host = Create();
    ASSERT_TRUE(host);
    ASSERT_EQ(Ctl({L"sinks"}).out, "1\n");
  }
  auto after = Ctl({L"sinks"});
  EXPECT_TRUE(after.out == "0\n" || after.exitCode == 3) << after.out;   // the server may be gone already
  auto log = HostLog();
  EXPECT_NE(std::find(log.begin(), log.end(), "# unadvise 1"), log.end());
}

TEST_F(ComHostTest, AHostThatDiedMakesCallsFailInsteadOfHanging) {
  auto host = Create();
  ASSERT_TRUE(host);
  ASSERT_EQ(Ctl({L"die"}).exitCode, 0u);
  ::Sleep(500);
  auto r = host->setTransmit(false);
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(Contains(r.error, "SetTransmit failed: ")) << r.error;
  EXPECT_TRUE(Contains(r.error, "0x800706BA") || Contains(r.error, "0x80010108")) << r.error;
}

TEST_F(ComHostTest, OneCallCanBeRefusedByItsArgumentAlone) {
  auto host = Create();
  ASSERT_TRUE(host);
  ASSERT_EQ(Ctl({L"fail", L"SetTransmit(0)"}).exitCode, 0u);
  ASSERT_EQ(Ctl({L"fail", L"TransmitFile(C:\\a,b.wav,-1):hresult"}).exitCode, 0u);
  EXPECT_TRUE(host->setTransmit(true).ok);
  auto unkey = host->setTransmit(false);
  EXPECT_FALSE(unkey.ok);
  EXPECT_FALSE(unkey.gone);
  EXPECT_TRUE(Contains(unkey.error, "SetTransmit refused by the test host")) << unkey.error;
  EXPECT_FALSE(host->transmitFile("C:\\a,b.wav", true).ok);
  EXPECT_TRUE(host->transmitFile("C:\\c.wav", true).ok);
  ASSERT_EQ(Ctl({L"heal", L"SetTransmit(0)"}).exitCode, 0u);
  EXPECT_TRUE(host->setTransmit(false).ok);
}

TEST_F(ComHostTest, ARejectingHostFailsEachCallAfterASecondAsAnAnswerUntilItTakesCallsAgain) {
  auto host = Create();
  ASSERT_TRUE(host);
  ASSERT_EQ(Ctl({L"reject", L"3"}).exitCode, 0u);
  const DWORD start = ::GetTickCount();
  auto r = host->setTransmit(false);
  const DWORD took = ::GetTickCount() - start;
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.gone) << "a busy host is still there";
  EXPECT_TRUE(Contains(r.error, "0x80010001")) << r.error;
  EXPECT_GE(took, 700u);
  EXPECT_LT(took, 2000u);
  auto log = HostLog();
  EXPECT_GE(std::count(log.begin(), log.end(), "# rejected SetTransmit(0)"), 3) << "asked again meanwhile";
  ::Sleep(2500);
  EXPECT_TRUE(host->setTransmit(false).ok);
  EXPECT_EQ(HostCalls(), std::vector<std::string>{"SetTransmit(0)"});
}

TEST(ComHostCreation, AnUnregisteredClassGivesAClearError) {
  ComApartment com;
  const CLSID missing = {0x0BADF00D, 0x1234, 0x4321, {0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88}};
  auto made = CreateComHost(missing);
  EXPECT_FALSE(made.host);
  EXPECT_TRUE(Contains(made.error, "{0BADF00D-1234-4321-8182-838485868788}")) << made.error;
  EXPECT_TRUE(Contains(made.error, "could not be created")) << made.error;
  EXPECT_TRUE(Contains(made.error, "Class not registered (0x80040154)")) << made.error;
}

}  // namespace
}  // namespace orv::win

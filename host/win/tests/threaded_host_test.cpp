// The window's thread and the host's: bounded calls, what runs while one
// waits, calls from inside a wait, and what becomes of a host given up.
#include "host/win/threaded_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

#include "host/win/call_wait.h"
#include "host/win/dispatch_call.h"
#include "platform/win/scoped.h"

namespace orv::win {
namespace {

using namespace std::chrono_literals;

// What the test and the host thread share; outlives both, as a stuck host
// thread may.
struct Script {
  std::mutex lock;
  std::vector<std::string> calls;
  std::function<void(const std::string& op, Script& s)> onCall;   // runs on the host thread
  std::atomic<int> inFlight{0}, mostInFlight{0};
  UniqueHandle release{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  UniqueHandle destroyed{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  std::atomic<DWORD> madeOn{0}, destroyedOn{0};
  std::function<void()> onDestroy;   // runs on the host thread

  std::vector<std::string> seen() {
    std::lock_guard<std::mutex> hold(lock);
    return calls;
  }
  // A call that never answers until the test lets it.
  static void Hang(const std::string&, Script& s) { ::WaitForSingleObject(s.release.get(), 60000); }
};

class ScriptedHost final : public Host {
 public:
  explicit ScriptedHost(std::shared_ptr<Script> s) : s_(std::move(s)) {}
  ~ScriptedHost() override {
    if (s_->onDestroy) s_->onDestroy();
    s_->destroyedOn = ::GetCurrentThreadId();
    ::SetEvent(s_->destroyed.get());
  }
  HostReply setTransmit(bool on) override { return run(on ? "SetTransmit(-1)" : "SetTransmit(0)"), HostReply{}; }
  HostValue<bool> firstBusyFlag() override { return run("FirstBusyFlag"), HostValue<bool>{true, true, {}}; }
  HostValue<bool> secondBusyFlag() override { return run("SecondBusyFlag"), HostValue<bool>{true, false, {}}; }
  HostReply sendIdentification(bool) override { return run("SendIdentification(0)"), HostReply{}; }
  HostReply transmitFile(const std::string& p, bool) override { return run("TransmitFile(" + p + ")"), HostReply{}; }
  HostValue<std::string> stationName() override { return run("StationName"), HostValue<std::string>{true, "PY2T", {}}; }
  HostReply exitSignal(bool) override { return run("ExitSignal(0)"), HostReply{}; }
  void setEventSink(HostEvents*) override {}

 private:
  void run(const std::string& op) {
    {
      std::lock_guard<std::mutex> hold(s_->lock);
      s_->calls.push_back(op);
    }
    const int now = ++s_->inFlight;
    int most = s_->mostInFlight;
    while (now > most && !s_->mostInFlight.compare_exchange_weak(most, now)) {}
    if (s_->onCall) s_->onCall(op, *s_);
    --s_->inFlight;
  }
  std::shared_ptr<Script> s_;
};

std::unique_ptr<Host> Make(const std::shared_ptr<Script>& script, std::chrono::milliseconds limit) {
  MadeHost made = ThreadedHost::Create(
      [script](std::shared_ptr<HostEventTarget>) {
        script->madeOn = ::GetCurrentThreadId();
        MadeHost m;
        m.host = std::make_unique<ScriptedHost>(script);
        return m;
      },
      limit);
  EXPECT_EQ(made.error, "");
  return std::move(made.host);
}

// A window that notes each message it gets, and whether a call was waiting.
struct Recorder {
  struct Seen {
    UINT msg;
    bool duringCall;
  };
  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (auto* self = reinterpret_cast<Recorder*>(::GetWindowLongPtrW(w, GWLP_USERDATA))) {
      self->seen.push_back({m, CallWaitDepth() > 0});
      if (self->onMessage) self->onMessage(m);
    }
    // Input and commands are only noted: a close must not end the window.
    if (HeldDuringCallWait(m) || m >= WM_APP) return 0;
    return ::DefWindowProcW(w, m, wp, lp);
  }
  Recorder() {
    static const bool registered = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = Proc;
      wc.hInstance = ::GetModuleHandleW(nullptr);
      wc.lpszClassName = L"OrvalenCallWaitRecorder";
      return ::RegisterClassW(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    window.reset(::CreateWindowExW(0, L"OrvalenCallWaitRecorder", L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                   nullptr, ::GetModuleHandleW(nullptr), nullptr));
    ::SetWindowLongPtrW(window.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~Recorder() { ::SetWindowLongPtrW(window.get(), GWLP_USERDATA, 0); }
  int count(UINT msg, bool duringCall) const {
    return static_cast<int>(std::count_if(seen.begin(), seen.end(), [&](const Seen& s) {
      return s.msg == msg && s.duringCall == duringCall;
    }));
  }
  UniqueWindow window;
  std::vector<Seen> seen;
  std::function<void(UINT)> onMessage;
};

void Pump() {
  MSG m;
  while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&m);
    ::DispatchMessageW(&m);
  }
}

long long MsSince(HostClock::time_point t) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(HostClock::now() - t).count();
}

class ThreadedHostTest : public ::testing::Test {
 protected:
  void TearDown() override {
    // Stuck host threads may go now, and must let go of their objects.
    ::SetEvent(script->release.get());
    EXPECT_EQ(::WaitForSingleObject(script->destroyed.get(), 5000), WAIT_OBJECT_0) << "the host object was never let go of";
  }
  std::shared_ptr<Script> script = std::make_shared<Script>();
};

TEST_F(ThreadedHostTest, AnUnansweredCallIsGivenUpAtItsDeadlineAndTheHostIsNeverTouchedAgain) {
  auto host = Make(script, 300ms);
  ASSERT_TRUE(host);
  EXPECT_TRUE(host->setTransmit(false).ok);
  script->onCall = Script::Hang;

  const auto start = HostClock::now();
  auto flag = host->firstBusyFlag();
  const long long waited = MsSince(start);
  EXPECT_FALSE(flag.ok);
  EXPECT_TRUE(flag.gone);
  EXPECT_EQ(flag.error, "FirstBusyFlag failed: the host did not answer in 300 ms");
  EXPECT_GE(waited, 290);
  EXPECT_LT(waited, 1500);
  EXPECT_TRUE(host->gone());

  // Answered at once, without reaching the stuck host.
  const auto again = HostClock::now();
  auto keyed = host->setTransmit(true);
  EXPECT_TRUE(keyed.gone);
  EXPECT_EQ(keyed.error, flag.error);
  EXPECT_LT(MsSince(again), 50);
  EXPECT_EQ(script->seen(), (std::vector<std::string>{"SetTransmit(0)", "FirstBusyFlag"}));

  // Dropping it does not wait for the stuck call either.
  const auto dropped = HostClock::now();
  host.reset();
  EXPECT_LT(MsSince(dropped), 100);
  EXPECT_EQ(::WaitForSingleObject(script->destroyed.get(), 0), WAIT_TIMEOUT);
  // When the stuck call returns at last, its own thread lets go of the object.
  ::SetEvent(script->release.get());
  ASSERT_EQ(::WaitForSingleObject(script->destroyed.get(), 5000), WAIT_OBJECT_0);
  EXPECT_EQ(script->destroyedOn, script->madeOn);
  EXPECT_NE(script->madeOn, ::GetCurrentThreadId());
}

TEST_F(ThreadedHostTest, WhileACallWaitsTimersPaintAndMessagesRunButInputWaitsForTheAnswer) {
  auto host = Make(script, 5000ms);
  ASSERT_TRUE(host);
  Recorder rec;
  HWND w = rec.window.get();
  ::ShowWindow(w, SW_SHOWNOACTIVATE);
  Pump();
  rec.seen.clear();
  script->onCall = [](const std::string&, Script&) { ::Sleep(600); };

  // What a user and the rest of the program do while the host thinks.
  const UINT held[] = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_KEYDOWN, WM_CHAR, WM_NCLBUTTONDOWN, WM_CLOSE, WM_COMMAND,
                       WM_SYSCOMMAND, BM_CLICK};
  for (UINT m : held) ::PostMessageW(w, m, 0, 0);
  ::PostMessageW(w, WM_APP + 7, 0, 0);
  ::InvalidateRect(w, nullptr, TRUE);
  ::SetTimer(w, 1, 20, nullptr);

  // Another thread asks the window something every 20 ms while the call waits.
  std::atomic<bool> done{false};
  std::atomic<long long> slowest{0};
  std::atomic<int> unanswered{0};
  std::thread asker([&] {
    while (!done) {
      const auto t = HostClock::now();
      DWORD_PTR r = 0;
      if (!::SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_NORMAL, 250, &r)) ++unanswered;
      slowest = std::max<long long>(slowest, MsSince(t));
      ::Sleep(20);
    }
  });
  auto flag = host->firstBusyFlag();
  done = true;
  asker.join();
  ::KillTimer(w, 1);

  EXPECT_TRUE(flag.ok) << flag.error;
  EXPECT_EQ(unanswered, 0);
  EXPECT_LT(slowest, 250);
  EXPECT_GE(rec.count(WM_TIMER, true), 10) << "the timer stood still during the call";
  EXPECT_EQ(rec.count(WM_APP + 7, true), 1);
  EXPECT_EQ(rec.count(WM_PAINT, true), 1);
  for (UINT m : held) EXPECT_EQ(rec.count(m, true), 0) << "message " << std::hex << m << " ran inside the call";
  EXPECT_FALSE(host->calling());
  // Nothing was lost: the loop gets the input now, in order.
  Pump();
  std::vector<UINT> after;
  for (const auto& s : rec.seen)
    if (!s.duringCall && HeldDuringCallWait(s.msg)) after.push_back(s.msg);
  EXPECT_EQ(after, std::vector<UINT>(std::begin(held), std::end(held)));
}

TEST_F(ThreadedHostTest, ACallMadeFromInsideAnotherWaitsForItsAnswerAndNeverRunsBesideIt) {
  auto host = Make(script, 3000ms);
  ASSERT_TRUE(host);
  Recorder rec;
  script->onCall = [](const std::string& op, Script&) { ::Sleep(op == "SecondBusyFlag" ? 400 : 50); };
  // The session's end arrives as a message while a tick's flag read waits.
  HostReply inner;
  bool innerCalling = false;
  rec.onMessage = [&](UINT m) {
    if (m != WM_APP + 1) return;
    innerCalling = host->calling();
    inner = host->setTransmit(false);
  };
  ::PostMessageW(rec.window.get(), WM_APP + 1, 0, 0);
  auto outer = host->secondBusyFlag();
  EXPECT_TRUE(outer.ok) << outer.error;
  EXPECT_TRUE(inner.ok) << inner.error;
  EXPECT_TRUE(innerCalling);
  EXPECT_EQ(script->mostInFlight, 1);
  EXPECT_EQ(script->seen(), (std::vector<std::string>{"SecondBusyFlag", "SetTransmit(0)"}));
}

TEST_F(ThreadedHostTest, ACallMadeFromInsideAStuckOneFailsAtTheStuckOnesDeadline) {
  auto host = Make(script, 400ms);
  ASSERT_TRUE(host);
  Recorder rec;
  script->onCall = Script::Hang;
  HostReply inner;
  long long innerWaited = -1;
  HostClock::time_point start;
  rec.onMessage = [&](UINT m) {
    if (m != WM_APP + 1) return;
    inner = host->setTransmit(false);
    innerWaited = MsSince(start);
  };
  ::PostMessageW(rec.window.get(), WM_APP + 1, 0, 0);
  start = HostClock::now();
  auto outer = host->secondBusyFlag();
  EXPECT_TRUE(outer.gone);
  EXPECT_TRUE(inner.gone);
  EXPECT_EQ(inner.error, "SecondBusyFlag failed: the host did not answer in 400 ms");
  EXPECT_GE(innerWaited, 390);
  EXPECT_LT(innerWaited, 1500);
  EXPECT_LT(MsSince(start), 1500);
  EXPECT_EQ(script->seen(), std::vector<std::string>{"SecondBusyFlag"}) << "the release never ran beside it";
}

TEST_F(ThreadedHostTest, MakingTheHostAndLettingItGoAreBoundedToo) {
  // A host that never finishes starting.
  auto stuck = std::make_shared<Script>();
  const auto start = HostClock::now();
  MadeHost made = ThreadedHost::Create(
      [stuck](std::shared_ptr<HostEventTarget>) {
        ::WaitForSingleObject(stuck->release.get(), 60000);
        return MadeHost{};
      },
      300ms);
  EXPECT_FALSE(made.host);
  EXPECT_TRUE(made.unanswered);
  EXPECT_EQ(made.error, "the host did not answer in 300 ms");
  EXPECT_LT(MsSince(start), 1500);
  ::SetEvent(stuck->release.get());

  // One that hangs while it is let go of.
  auto host = Make(script, 300ms);
  ASSERT_TRUE(host);
  script->onDestroy = [s = script.get()] { ::WaitForSingleObject(s->release.get(), 60000); };
  const auto dropped = HostClock::now();
  host.reset();
  EXPECT_GE(MsSince(dropped), 290);
  EXPECT_LT(MsSince(dropped), 1500);
}

// A fake automation object that rejects its first calls as a busy host does.
class Rejecting final : public IDispatch {
 public:
  explicit Rejecting(int rejections) : left_(rejections) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override { return *out = this, S_OK; }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { return *n = 0, S_OK; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID* id) override {
    return *id = 1, S_OK;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    ++tries;
    if (left_ < 0 || left_-- > 0) return tries % 2 ? RPC_E_CALL_REJECTED : RPC_E_SERVERCALL_RETRYLATER;
    return S_OK;
  }
  int tries = 0;

 private:
  int left_;   // -1: for ever
};

TEST(DispatchCallerTest, ARejectingHostIsAskedAgainForAboutASecondThenTheCallFailsAsAnAnswer) {
  Rejecting forever(-1);
  DispatchCaller caller(1000ms);
  const auto start = HostClock::now();
  auto out = caller.call(&forever, L"SetTransmit", DISPATCH_METHOD, {TruthArg(false)}, nullptr, true);
  const long long took = MsSince(start);
  EXPECT_FALSE(out.ok);
  EXPECT_FALSE(out.gone) << "a busy host is there";
  EXPECT_NE(out.error.find("SetTransmit failed: "), std::string::npos) << out.error;
  EXPECT_GE(took, 800);
  EXPECT_LT(took, 1500);
  EXPECT_GE(forever.tries, 5);

  Rejecting briefly(3);
  auto later = caller.call(&briefly, L"SetTransmit", DISPATCH_METHOD, {TruthArg(false)}, nullptr, false);
  EXPECT_TRUE(later.ok) << later.error;
  EXPECT_EQ(briefly.tries, 4);
}

}  // namespace
}  // namespace orv::win

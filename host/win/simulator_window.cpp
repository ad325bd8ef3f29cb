#include "host/win/simulator_window.h"

#include <string>
#include <vector>

#include "platform/win/scoped.h"
#include "platform/win/text.h"

namespace orv::win {
namespace {

constexpr wchar_t kClass[] = L"OrvalenHostSimulator";
constexpr int kWidth = 320;
constexpr int kHeight = 440;
constexpr COLORREF kKeyed = RGB(255, 0, 0);
constexpr COLORREF kUnkeyed = RGB(0, 192, 0);

std::wstring CallLine(const SimulatedHost::Call& c) {
  std::string line = c.time.empty() ? c.text : c.time + "  " + c.text;
  if (c.repeats > 1) line += "  x" + std::to_string(c.repeats);
  return Widen(line);
}

std::string TextOf(HWND w) {
  int n = ::GetWindowTextLengthW(w);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  n = ::GetWindowTextW(w, text.data(), n + 1);
  return Narrow(text.data(), n);
}

class Simulator final : public SimulatorWindow {
 public:
  explicit Simulator(SimulatedHost& host) : host_(host) {}

  ~Simulator() override {
    host_.onCall = nullptr;
    host_.onStateChange = nullptr;
    if (window_) {
      ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
      ::DestroyWindow(window_);
    }
  }

  bool Create(HWND owner) {
    static ATOM atom = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = Proc;
      wc.hInstance = ::GetModuleHandleW(nullptr);
      wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
      wc.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
      wc.lpszClassName = kClass;
      return ::RegisterClassW(&wc);
    }();
    if (!atom) return false;
    RECT frame{0, 0, kWidth, kHeight};
    DWORD style = WS_OVERLAPPED | WS_CAPTION;   // no close box: the host closes by its button
    ::AdjustWindowRect(&frame, style, FALSE);
    window_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, kClass, L"Simulador do host", style, CW_USEDEFAULT, CW_USEDEFAULT,
                                frame.right - frame.left, frame.bottom - frame.top, owner, nullptr,
                                ::GetModuleHandleW(nullptr), this);
    if (!window_) return false;
    Build();
    // Shown after the call rather than inside it: a list box that scrolls
    // costs milliseconds under Wine, and a send's calls follow one another
    // on the second they are due.
    host_.onCall = [this](const SimulatedHost::Call& c, bool merged) {
      if (merged && !pendingCalls_.empty() && pendingCalls_.back().call.text == c.text) pendingCalls_.back().call = c;
      else pendingCalls_.push_back({c, merged});
      if (pendingCalls_.size() > SimulatedHost::kMaxCalls) pendingCalls_.erase(pendingCalls_.begin());
      RefreshSoon();
    };
    host_.onStateChange = [this] {
      stateChanged_ = true;
      RefreshSoon();
    };
    placeBeside(owner);
    ::ShowWindow(window_, SW_SHOWNOACTIVATE);
    return true;
  }

  HWND hwnd() const override { return window_; }

  void placeBeside(HWND owner) override {
    RECT me{}, by{};
    ::GetWindowRect(window_, &me);
    int w = me.right - me.left, h = me.bottom - me.top;
    int x = 0, y = 0;
    HMONITOR monitor = nullptr;
    if (owner && ::GetWindowRect(owner, &by)) {
      x = by.right + 8;
      y = by.top;
      monitor = ::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST);
    } else {
      monitor = ::MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST);
    }
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (monitor && ::GetMonitorInfoW(monitor, &mi)) {
      const RECT& work = mi.rcWork;
      if (x + w > work.right) x = work.right - w;
      if (x < work.left) x = work.left;
      if (y + h > work.bottom) y = work.bottom - h;
      if (y < work.top) y = work.top;
    }
    ::SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

 private:
  static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
      auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
      ::SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<Simulator*>(::GetWindowLongPtrW(w, GWLP_USERDATA));
    if (self) {
      try {
        LRESULT result = 0;
        if (self->Handle(w, msg, wp, lp, result)) return result;
      } catch (...) {
        // Nothing may leave a window procedure; the operator just clicks again.
      }
    }
    if (msg == WM_NCDESTROY && self) self->window_ = self->transmitter_ = self->calls_ = nullptr;   // owner went first
    return ::DefWindowProcW(w, msg, wp, lp);
  }

  bool Handle(HWND w, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
      case WM_CLOSE:
        return true;   // only "Fechar o host" ends the host
      case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lp) == transmitter_) {
          HDC dc = reinterpret_cast<HDC>(wp);
          ::SetTextColor(dc, host_.transmitting() ? kKeyed : kUnkeyed);
          ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
          result = reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
          return true;
        }
        return false;
      case WM_COMMAND:
        Command(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
        return true;
      case kRefresh:
        Refresh();
        return true;
    }
    return false;
  }

  // The event handlers may end the program and destroy this window: raising
  // an event is the last thing each branch does.
  void Command(int id, int code, HWND control) {
    switch (id) {
      case kSimStation:
        if (code == EN_CHANGE) host_.setStation(TextOf(control));
        break;
      case kSimBusy1:
      case kSimBusy2:
        if (code == BN_CLICKED) {
          bool on = ::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
          id == kSimBusy1 ? host_.setFirstBusy(on) : host_.setSecondBusy(on);
        }
        break;
      case kSimSendDtmf:
        if (code == BN_CLICKED) host_.sendDtmf(TextOf(::GetDlgItem(window_, kSimDtmf)));
        break;
      case kSimClose:
        if (code == BN_CLICKED) host_.close();
        break;
    }
  }

  HWND Add(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id = 0,
           DWORD exStyle = 0) {
    HWND c = ::CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, window_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
    if (c && font_) ::SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    return c;
  }

  void Build() {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
      font_ = UniqueFont(::CreateFontIndirectW(&ncm.lfMessageFont));

    const int m = 10, full = kWidth - 2 * m;
    Add(L"STATIC", L"Transmissor:", SS_LEFT, m, 12, 80, 18);
    transmitter_ = Add(L"STATIC", L"", SS_LEFT, m + 84, 12, full - 84, 18, kSimTransmitter);
    Add(L"STATIC", L"Esta\u00e7\u00e3o:", SS_LEFT, m, 42, 84, 18);
    Add(L"EDIT", Widen(host_.station()).c_str(), ES_AUTOHSCROLL | WS_TABSTOP, m + 84, 40, full - 84, 22, kSimStation,
        WS_EX_CLIENTEDGE);
    Add(L"BUTTON", L"Primeiro sinal de ocupado", BS_AUTOCHECKBOX | WS_TABSTOP, m, 72, full, 20, kSimBusy1);
    Add(L"BUTTON", L"Segundo sinal de ocupado", BS_AUTOCHECKBOX | WS_TABSTOP, m, 96, full, 20, kSimBusy2);
    Add(L"STATIC", L"DTMF:", SS_LEFT, m, 128, 40, 18);
    Add(L"EDIT", L"AA", ES_AUTOHSCROLL | WS_TABSTOP, m + 44, 126, full - 44 - 96, 22, kSimDtmf, WS_EX_CLIENTEDGE);
    Add(L"BUTTON", L"Enviar DTMF", BS_PUSHBUTTON | WS_TABSTOP, m + full - 90, 125, 90, 24, kSimSendDtmf);
    Add(L"BUTTON", L"Fechar o host", BS_PUSHBUTTON | WS_TABSTOP, m, 158, 100, 24, kSimClose);
    Add(L"STATIC", L"Chamadas recebidas:", SS_LEFT, m, 194, full, 18);
    calls_ = Add(L"LISTBOX", L"", WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOSEL | WS_TABSTOP, m, 214, full,
                 kHeight - 214 - m, kSimCalls, WS_EX_CLIENTEDGE);
    for (const auto& c : host_.calls()) AddCall(c, false);
    Sync();
  }

  // Shows the model's state; check marks set here raise no click.
  void Sync() {
    if (!window_) return;
    ::SetWindowTextW(transmitter_, host_.transmitting() ? L"TRANSMITINDO" : L"em repouso");
    ::InvalidateRect(transmitter_, nullptr, TRUE);
    ::CheckDlgButton(window_, kSimBusy1, host_.firstBusy() ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(window_, kSimBusy2, host_.secondBusy() ? BST_CHECKED : BST_UNCHECKED);
    HWND station = ::GetDlgItem(window_, kSimStation);
    if (TextOf(station) != host_.station()) ::SetWindowTextW(station, Widen(host_.station()).c_str());
  }

  void RefreshSoon() {
    if (!refreshPosted_ && window_) refreshPosted_ = ::PostMessageW(window_, kRefresh, 0, 0) != 0;
  }

  // Everything since the last refresh in one go, the list drawn once.
  void Refresh() {
    refreshPosted_ = false;
    if (stateChanged_) Sync();
    stateChanged_ = false;
    if (pendingCalls_.empty() || !calls_) return;
    const LRESULT top = ::SendMessageW(calls_, LB_GETTOPINDEX, 0, 0);
    bool onlyLastLine = true;
    ::SendMessageW(calls_, WM_SETREDRAW, FALSE, 0);
    for (const auto& p : pendingCalls_) {
      AddCall(p.call, p.merged);
      onlyLastLine = onlyLastLine && p.merged;
    }
    pendingCalls_.clear();
    ::SendMessageW(calls_, WM_SETREDRAW, TRUE, 0);
    // The idle host's SetTransmit(0) once a second only counts up the last
    // line: that line is all that is drawn again.
    RECT line{};
    const LRESULT last = ::SendMessageW(calls_, LB_GETCOUNT, 0, 0) - 1;
    if (onlyLastLine && ::SendMessageW(calls_, LB_GETTOPINDEX, 0, 0) == top &&
        ::SendMessageW(calls_, LB_GETITEMRECT, static_cast<WPARAM>(last), reinterpret_cast<LPARAM>(&line)) != LB_ERR)
      ::InvalidateRect(calls_, &line, TRUE);
    else
      ::InvalidateRect(calls_, nullptr, TRUE);
  }

  void AddCall(const SimulatedHost::Call& c, bool merged) {
    if (!calls_) return;
    LRESULT count = ::SendMessageW(calls_, LB_GETCOUNT, 0, 0);
    if (merged && count > 0) ::SendMessageW(calls_, LB_DELETESTRING, static_cast<WPARAM>(count - 1), 0);
    ::SendMessageW(calls_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(CallLine(c).c_str()));
    while (::SendMessageW(calls_, LB_GETCOUNT, 0, 0) > static_cast<LRESULT>(SimulatedHost::kMaxCalls))
      ::SendMessageW(calls_, LB_DELETESTRING, 0, 0);
    count = ::SendMessageW(calls_, LB_GETCOUNT, 0, 0);
    ::SendMessageW(calls_, LB_SETTOPINDEX, static_cast<WPARAM>(count - 1), 0);
  }

  struct PendingCall {
    SimulatedHost::Call call;
    bool merged;
  };
  static constexpr UINT kRefresh = WM_APP + 1;

  SimulatedHost& host_;
  std::vector<PendingCall> pendingCalls_;
  bool stateChanged_ = false;
  bool refreshPosted_ = false;
  HWND window_ = nullptr;
  HWND transmitter_ = nullptr;
  HWND calls_ = nullptr;
  UniqueFont font_;
};

}  // namespace

std::unique_ptr<SimulatorWindow> CreateSimulatorWindow(SimulatedHost& host, HWND owner) {
  try {
    auto window = std::make_unique<Simulator>(host);
    if (!window->Create(owner)) return nullptr;
    return window;
  } catch (...) {
    return nullptr;
  }
}

}  // namespace orv::win

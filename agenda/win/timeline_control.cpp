#include "agenda/win/timeline_control.h"

#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

#include "platform/win/text.h"

namespace orv::win {

namespace {

constexpr int kLanes = kSlotCount + 1;
constexpr double kDay = kPlanHours * 3600.0;

std::string Clock(const LocalTime& start, double secondsAhead) {
  const long long s = (start.hour * 3600LL + start.minute * 60 + start.second + static_cast<long long>(secondsAhead)) % 86400;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02lld:%02lld", s / 3600, s / 60 % 60);
  return buf;
}

void Text(HDC dc, int x, int y, const std::string& s, UINT align = TA_LEFT) {
  const std::wstring w = Widen(s);
  SetTextAlign(dc, align | TA_TOP);
  TextOutW(dc, x, y, w.c_str(), static_cast<int>(w.size()));
}

}  // namespace

COLORREF TimelineControl::SourceColor(int source) {
  static constexpr COLORREF colors[kLanes] = {RGB(0, 90, 200),  RGB(220, 60, 0),  RGB(0, 150, 60),
                                              RGB(160, 0, 160), RGB(200, 150, 0), RGB(0, 160, 170),
                                              RGB(120, 70, 20), RGB(230, 0, 110), RGB(90, 90, 90),
                                              RGB(200, 0, 0)};
  return colors[std::clamp(source, 0, kLanes - 1)];
}

std::string TimelineControl::SourceName(int source) {
  return source == kAgendaSource ? "agenda" : "slot " + std::to_string(source + 1);
}

bool TimelineControl::Create(HWND parent, int id, const RECT& r, const Dpi& dpi, HFONT font) {
  dpi_ = dpi;
  font_ = font;
  return CreateChild(L"OrvalenTimeline", parent, WS_VISIBLE | WS_BORDER, 0, r.left, r.top, r.right - r.left,
                     r.bottom - r.top, id);
}

void TimelineControl::SetPlan(SendPlan plan, std::array<double, kPlanHours> airtime,
                              const LocalTime& start) {
  plan_ = std::move(plan);
  airtime_ = airtime;
  start_ = start;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

RECT TimelineControl::Strip() const {
  RECT c;
  GetClientRect(hwnd(), &c);
  // Room on the left for the lane names, on top for the hours.
  return {c.left + dpi_.px(56), c.top + dpi_.px(18), c.right - dpi_.px(8), c.top + dpi_.px(18) + kLanes * dpi_.px(11)};
}

int TimelineControl::Lane(int source) const { return Strip().top + source * dpi_.px(11); }

void TimelineControl::Paint(HDC dc, const RECT& c) {
  FillRect(dc, &c, GetSysColorBrush(COLOR_WINDOW));
  ScopedSelect font(dc, font_);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  const RECT s = Strip();
  const int width = s.right - s.left;
  auto xOf = [&](double at) { return s.left + static_cast<int>(std::lround(at / kDay * width)); };

  // Hour lines, a time every three hours.
  UniquePen grid(CreatePen(PS_SOLID, 1, RGB(215, 215, 215)));
  const int barsTop = s.bottom + dpi_.px(6), barsBottom = c.bottom - dpi_.px(18);
  const double firstHour = 3600 - (start_.minute * 60 + start_.second);
  {
    ScopedSelect pen(dc, grid.get());
    for (int h = 0; h < kPlanHours; ++h) {
      const int x = xOf(firstHour + h * 3600);
      if (x > s.right) break;
      MoveToEx(dc, x, s.top - dpi_.px(3), nullptr);
      LineTo(dc, x, s.bottom);
      if (h % 3 == 0) Text(dc, x, c.top + dpi_.px(2), Clock(start_, firstHour + h * 3600), TA_CENTER);
    }
  }
  // Lanes: a name and a mark per send.
  for (int lane = 0; lane < kLanes; ++lane) {
    const int y = Lane(lane);
    SetTextColor(dc, SourceColor(lane));
    Text(dc, c.left + dpi_.px(4), y - dpi_.px(2), SourceName(lane));
  }
  std::array<UniqueBrush, kLanes> brushes;
  for (int lane = 0; lane < kLanes; ++lane) brushes[lane] = UniqueBrush(CreateSolidBrush(SourceColor(lane)));
  // A mark a pixel: a slot sending every few seconds would otherwise draw
  // tens of thousands, one over the other.
  std::array<int, kLanes> drawnAt;
  drawnAt.fill(INT_MIN);
  for (const PlannedSend& p : plan_.sends) {
    const int x = xOf(p.at), y = Lane(p.source);
    int& last = drawnAt[std::clamp(p.source, 0, kLanes - 1)];
    if (x == last) continue;
    last = x;
    RECT m{x - dpi_.px(1), y, x + dpi_.px(2), y + dpi_.px(9)};
    FillRect(dc, &m, brushes[std::clamp(p.source, 0, kLanes - 1)].get());
  }
  // Airtime per hour: bars scaled to the busiest hour.
  const double most = *std::max_element(airtime_.begin(), airtime_.end());
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  Text(dc, c.left + dpi_.px(4), barsTop, "no ar");
  UniqueBrush bar(CreateSolidBrush(RGB(110, 140, 180)));
  for (int h = 0; h < kPlanHours; ++h) {
    if (airtime_[h] <= 0 || most <= 0) continue;
    const int x0 = xOf(h * 3600.0) + 1, x1 = xOf((h + 1) * 3600.0) - 1;
    const int top = barsBottom - static_cast<int>((barsBottom - barsTop) * airtime_[h] / most);
    RECT b{x0, top, std::max(x0 + 1, x1), barsBottom};
    FillRect(dc, &b, bar.get());
  }
  char label[64];
  std::snprintf(label, sizeof label, "hora mais cheia: %.0f s no ar", most);
  Text(dc, c.left + dpi_.px(4), barsBottom + dpi_.px(2), label);
}

void TimelineControl::Hover(int x, int y) {
  const RECT s = Strip();
  std::string text;
  const int lane = (y - s.top) / std::max(1, dpi_.px(11));
  if (y >= s.top && y < s.bottom && lane >= 0 && lane < kLanes) {
    const int width = s.right - s.left;
    int best = dpi_.px(4) + 1;
    for (const PlannedSend& p : plan_.sends) {
      if (p.source != lane) continue;
      const int d = std::abs(s.left + static_cast<int>(std::lround(p.at / kDay * width)) - x);
      if (d < best) {
        best = d;
        text = Clock(start_, p.at) + "  " + plan_.origin(p) + "  " + plan_.file(p);
      }
    }
  }
  if (text == hovered_) return;
  hovered_ = text;
  if (onHover) onHover(text);
}

LRESULT TimelineControl::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PaintDc paint(hwnd());
      RECT c;
      GetClientRect(hwnd(), &c);
      UniqueMemDc mem(CreateCompatibleDC(paint.get()));
      UniqueBitmap bits(CreateCompatibleBitmap(paint.get(), std::max<LONG>(1, c.right), std::max<LONG>(1, c.bottom)));
      if (!mem.get() || !bits.get()) return 0;
      {
        ScopedSelect keep(mem.get(), bits.get());
        Paint(mem.get(), c);
        BitBlt(paint.get(), 0, 0, c.right, c.bottom, mem.get(), 0, 0, SRCCOPY);
      }
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEMOVE: {
      TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, hwnd(), 0};
      TrackMouseEvent(&t);
      Hover(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      return 0;
    }
    case WM_MOUSELEAVE:
      Hover(-1000, -1000);
      return 0;
  }
  return BaseWindow::HandleMessage(msg, wp, lp);
}

}  // namespace orv::win

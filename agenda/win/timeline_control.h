#pragma once
// The 24-hour strip in the Agenda window: one lane and one colour per source
// (the nine slots, then the agenda), a mark at every planned send, the
// airtime of each hour as a bar beneath. Drawn off-screen with GDI.
#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "agenda/send_plan.h"
#include "platform/win/base_window.h"
#include "platform/win/dpi.h"
#include "platform/win/scoped.h"

namespace orv::win {

class TimelineControl : public BaseWindow {
 public:
  bool Create(HWND parent, int id, const RECT& r, const Dpi& dpi, HFONT font);
  // The plan starts now, at local time `start`.
  void SetPlan(SendPlan plan, std::array<double, kPlanHours> airtime, const LocalTime& start);
  // Called with the hovered mark's description, or "" when none.
  std::function<void(const std::string&)> onHover;

  static COLORREF SourceColor(int source);
  static std::string SourceName(int source);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Paint(HDC dc, const RECT& r);
  RECT Strip() const;
  int Lane(int source) const;
  void Hover(int x, int y);

  Dpi dpi_;
  HFONT font_ = nullptr;
  SendPlan plan_;
  std::array<double, kPlanHours> airtime_{};
  LocalTime start_;
  std::string hovered_;
};

}  // namespace orv::win

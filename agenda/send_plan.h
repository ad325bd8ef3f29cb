#pragma once
// The next 24 hours as planned: every send of the armed slots (from their
// countdowns and intervals, taking the host as free) and of the agenda's
// entries, and the airtime each hour takes.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "agenda/agenda_file.h"
#include "platform/clock.h"
#include "scheduler/form_controls.h"

namespace orv {

inline constexpr int kPlanHours = 24;
inline constexpr int kAgendaSource = kSlotCount;   // sources 0..8 are the slots

struct SlotPlanInput {
  bool armed = false;
  long long count = 0;      // seconds left on its countdown
  long long interval = 0;   // its interval box
  std::string file;
};

struct PlannedSend {
  double at = 0;            // seconds from now
  int source = 0;           // slot index, or kAgendaSource
  std::string origin;       // "slot 2", "agenda 5"
  std::string file;
};

// In time order. A slot whose countdown shows c sends c + 1 seconds from
// now, then every interval + 1 seconds.
std::vector<PlannedSend> PlanSends(const std::array<SlotPlanInput, kSlotCount>& slots, const AgendaFile& agenda,
                                   const LocalTime& now, double horizonSeconds = kPlanHours * 3600.0);

// Seconds on the air in each hour from now; `length` gives a file's length in
// seconds (nothing when unknown: counted as 0).
std::array<double, kPlanHours> AirtimePerHour(const std::vector<PlannedSend>& plan,
                                              const std::function<std::optional<double>(const std::string&)>& length);

// The slots as the main window shows them now.
std::array<SlotPlanInput, kSlotCount> SlotsFromControls(const FormControls& c, const std::function<bool(int)>& armed);

}  // namespace orv

#pragma once
// Messages at set times: the agenda's entries fall due at second 00 of their
// minute on the local wall clock and go out through the main window's
// current transmit mode, waiting while the host is busy, while another
// message still plays locally, with no mode ticked or while the host is
// gone; after 10 minutes of waiting a message is dropped and recorded.
//
// Each entry goes out at most once per due time. The wall clock may jump:
// set back over a due time nothing is sent again; set forward over one (or
// a daylight-saving change) the entry goes out once, right after the jump;
// set back by a day or a year, the entries keep their times from then on.
// Times the program was not running are not caught up.
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "agenda/agenda_file.h"
#include "agenda/agenda_times.h"
#include "announce/time_announcer.h"
#include "scheduler/form_controls.h"
#include "scheduler/transmitter_guard.h"

namespace orv {

inline constexpr std::chrono::seconds kAgendaLongestWait{600};

class Agenda {
 public:
  Agenda(FormControls& controls, FormServices& services, FormFields& fields, TransmitterGuard& guard);
  ~Agenda();
  Agenda(const Agenda&) = delete;
  Agenda& operator=(const Agenda&) = delete;

  // Start-up: reads the agenda file (reporting unreadable lines in one
  // message) and starts watching the clock from this minute on.
  void load();

  const AgendaFile& file() const { return file_; }
  // The operator's new agenda, saved to the file; it takes effect from now
  // on. Empty on success, else the message to show (the agenda is unchanged).
  std::string save(AgendaFile file);

  // Runs once a wall-clock second; public so that a window can drive it.
  void tick();

  struct Pending {
    int line = 0;                       // 1-based line of the file
    std::string file;
    std::chrono::milliseconds since{0}; // monotonic time it fell due
  };
  const std::vector<Pending>& pending() const { return pending_; }

  // Runs after the agenda changed (saved) and after each send or drop.
  void subscribe(std::function<void()> onChange) { listeners_.push_back(std::move(onChange)); }

  // What speaks the time for the entries named "@hora"; without one they
  // are refused when they fall due.
  void setTimeAnnouncer(TimeAnnouncer* announcer) { announcer_ = announcer; }

 private:
  void takeDue(LocalMinute now);
  void dispatch();
  enum class Try { Wait, Done };
  Try trySend(const Pending& p);
  void record(const Pending& p, const std::string& mode, const std::string& outcome);
  void restart(const LocalTime& now);
  void changed();
  void prepareHostCopies();
  // The spoken time of the next minute is made ahead, in its last half.
  void prepareAnnouncements(const LocalTime& now);

  FormControls& c_;
  FormServices& s_;
  FormFields& f_;
  TransmitterGuard& guard_;
  TimeAnnouncer* announcer_ = nullptr;
  AgendaFile file_;
  // Per line, the last due times taken, so that a clock set back over one
  // does not send it again; a short list rather than the latest alone, so
  // that a clock corrected backwards (from a wrong year, say) is followed
  // at once instead of silencing the entry until the old time comes round.
  std::vector<std::vector<DueTaken>> taken_;
  std::optional<LocalMinute> seen_;
  std::vector<Pending> pending_;
  std::unique_ptr<Timer> timer_;
  bool inTick_ = false;
  std::vector<std::function<void()>> listeners_;
};

}  // namespace orv

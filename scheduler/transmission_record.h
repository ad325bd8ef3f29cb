#pragma once
// The record of every message the program sent or failed to send, from the
// slots, the agenda and the DTMF identification: the newest 10,000 kept in
// memory and shown in its window, and, when asked on the command line,
// every one appended to a file.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/clock.h"

namespace orv {

struct RecordEntry {
  LocalTime when;
  std::string origin;    // "slot 3", "agenda 7", "DTMF"
  std::string file;      // as the operator named it
  std::string mode;      // "RF" or "RF+IP"
  std::string outcome;   // "enviada", "arquivo não existe", ...
};

inline const std::string kOutcomeSent = "enviada";
inline const std::string kOutcomeBusyTooLong = "não enviada: host ocupado por 10 min";
inline const std::string kOutcomeMissingFile = "arquivo não existe";
inline const std::string kOutcomeUnplayable = "arquivo não pode ser tocado";
inline const std::string kOutcomeHostGone = "host desconectado";
std::string SentAfterWaitOutcome(long long seconds);   // "enviada" for no wait
std::string HostFailedOutcome(const std::string& why);

// "AAAA-MM-DD HH:MM:SS"
std::string RecordDateText(const LocalTime& t);
// The fields in order, separated by tabs, without a line end. Tabs and line
// ends inside a field (a host's error text) become blanks.
std::string RecordLine(const RecordEntry& e);

inline constexpr std::size_t kRecordsKept = 10000;

// What the record's window says of its rows: how many this session, and how
// many of them it shows when memory kept only the newest.
std::string RecordCountText(std::uint64_t total, std::size_t kept);

class TransmissionRecord {
 public:
  explicit TransmissionRecord(const Clock& clock) : clock_(clock) {}

  void add(std::string origin, std::string file, std::string mode, std::string outcome);
  // The newest kRecordsKept entries, oldest first.
  const std::deque<RecordEntry>& entries() const { return entries_; }
  // Every entry of the session, kept or not.
  std::uint64_t total() const { return total_; }

  // Each new entry is written to `out` as one line (the --log file).
  void appendTo(std::unique_ptr<std::ostream> out) { out_ = std::move(out); }
  // Called after every new entry (entries().back()); windows add it.
  void subscribe(std::function<void()> onAdded) { listeners_.push_back(std::move(onAdded)); }

 private:
  const Clock& clock_;
  std::deque<RecordEntry> entries_;
  std::uint64_t total_ = 0;
  std::unique_ptr<std::ostream> out_;
  std::vector<std::function<void()>> listeners_;
};

// The --log file opened for appending (path in UTF-8); nothing when it cannot be opened.
std::unique_ptr<std::ostream> OpenRecordLog(const std::string& path);

}  // namespace orv

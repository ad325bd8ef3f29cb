#include "scheduler/transmission_record.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace orv {

std::string SentAfterWaitOutcome(long long seconds) {
  if (seconds <= 0) return kOutcomeSent;
  return "enviada após " + std::to_string(seconds) + " s de espera";
}

std::string HostFailedOutcome(const std::string& why) { return "host falhou: " + why; }

std::string RecordDateText(const LocalTime& t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
  return buf;
}

std::string RecordLine(const RecordEntry& e) {
  auto field = [](std::string s) {
    for (char& c : s)
      if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return s;
  };
  return RecordDateText(e.when) + '\t' + field(e.origin) + '\t' + field(e.file) + '\t' + field(e.mode) + '\t' +
         field(e.outcome);
}

std::string RecordCountText(std::uint64_t total, std::size_t kept) {
  if (total == 0) return "Nada enviado nem tentado nesta sess\xC3\xA3o ainda.";
  std::string text = std::to_string(total) + (total == 1 ? " registro" : " registros") + " nesta sess\xC3\xA3o";
  if (kept < total) text += "; aqui os " + std::to_string(kept) + " mais novos";
  return text + ", o mais novo em cima.";
}

void TransmissionRecord::add(std::string origin, std::string file, std::string mode, std::string outcome) {
  entries_.push_back({clock_.localNow(), std::move(origin), std::move(file), std::move(mode), std::move(outcome)});
  ++total_;
  if (out_ && *out_) {
    *out_ << RecordLine(entries_.back()) << "\r\n";
    out_->flush();
  }
  // The file has it already; memory keeps the newest only.
  if (entries_.size() > kRecordsKept) entries_.pop_front();
  for (auto& listener : listeners_) listener();
}

std::unique_ptr<std::ostream> OpenRecordLog(const std::string& path) {
  const std::filesystem::path p(std::u8string(path.begin(), path.end()));
  auto out = std::make_unique<std::ofstream>(p, std::ios::out | std::ios::app | std::ios::binary);
  if (!out->is_open()) return nullptr;
  return out;
}

}  // namespace orv

#include "announce/time_announcer.h"

#include <iterator>

namespace orv {

namespace {

// Two files in turn: the host may still be reading the last message while
// the next one is written.
constexpr int kFiles = 2;

std::string FileName(int n) { return "hora-certa-" + std::to_string(n + 1) + ".wav"; }

}  // namespace

TimeAnnouncer::TimeAnnouncer(Worker& worker, AudioFiles& files, SystemDecoder* decoder)
    : worker_(worker), files_(files), decoder_(decoder) {}

TimeAnnouncer::~TimeAnnouncer() = default;

void TimeAnnouncer::setProgramFolder(const std::string& caminho) { folder_ = caminho + kClipFolderName + "\\"; }

TimeAnnouncer::Status TimeAnnouncer::status(int hour, int minute) const {
  const auto it = shared_->byMinute.find(hour * 60 + minute);
  return it == shared_->byMinute.end() ? Status{} : it->second.status;
}

void TimeAnnouncer::prepare(int hour, int minute) {
  const int key = hour * 60 + minute;
  auto& byMinute = shared_->byMinute;
  if (byMinute.count(key)) return;
  const int file = nextFile_;
  nextFile_ = (nextFile_ + 1) % kFiles;
  // The file about to be written no longer holds what it held, and a
  // refusal holds for its own minute only.
  for (auto it = byMinute.begin(); it != byMinute.end();)
    it = it->second.file == file || it->second.status.state == State::Refused ? byMinute.erase(it) : std::next(it);
  byMinute[key] = Made{Status{State::Making, {}, {}, 0}, file};

  worker_.post([weak = std::weak_ptr<Shared>(shared_), &files = files_, decoder = decoder_, folder = folder_, hour,
                 minute, key, file](const std::atomic<bool>& stopping) -> Worker::Result {
    Status done;
    std::string out = files.cacheFolder();
    if (!out.empty() && out.back() != '\\' && out.back() != '/') out += '\\';
    const std::string path = out + FileName(file);
    auto writer = out.empty() ? nullptr : files.create(path);
    if (!writer) {
      done.state = State::Refused;
      done.problem = "n\xC3\xA3o foi poss\xC3\xADvel gravar " + FileName(file);
    } else {
      const JoinedClips joined = JoinClips(files, decoder, folder, hour, minute, *writer, stopping);
      if (joined.stopped) return {};
      if (joined.error != AudioError::None) {
        done.state = State::Refused;
        done.problem = JoinProblem(joined);
      } else if (!writer->commit()) {
        done.state = State::Refused;
        done.problem = "n\xC3\xA3o foi poss\xC3\xADvel gravar " + FileName(file);
      } else {
        done.state = State::Ready;
        done.path = path;
        done.seconds = joined.seconds;
      }
    }
    return [weak, key, file, done] {
      const auto state = weak.lock();
      if (!state) return;
      // Forgotten meanwhile: its file went to a newer minute.
      if (auto it = state->byMinute.find(key); it != state->byMinute.end() && it->second.file == file)
        it->second.status = done;
    };
  });
}

}  // namespace orv

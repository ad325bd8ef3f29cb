#include "announce/time_announcer.h"

#include <iterator>

namespace orv {

namespace {

// Two files in turn: the host may still be reading the last message while
// the next one is written.
constexpr int kFiles = 2;

std::string FileName(int n) { return "hora-certa-" + std::to_string(n + 1) + ".wav"; }

}  // namespace

TimeAnnouncer::TimeAnnouncer(JobRunner& jobs, AudioFiles& files, SystemDecoder* decoder)
    : jobs_(jobs), files_(files), decoder_(decoder) {}

TimeAnnouncer::~TimeAnnouncer() = default;

void TimeAnnouncer::setProgramFolder(const std::string& caminho) { folder_ = caminho + kClipFolderName + "\\"; }

TimeAnnouncer::Status TimeAnnouncer::status(int hour, int minute) const {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  const auto it = shared_->byMinute.find(hour * 60 + minute);
  return it == shared_->byMinute.end() ? Status{} : it->second.status;
}

void TimeAnnouncer::prepare(int hour, int minute) {
  const int key = hour * 60 + minute;
  const int file = nextFile_;
  {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    if (shared_->byMinute.count(key)) return;
    // The file about to be written no longer holds what it held, and a
    // refusal holds for its own minute only.
    for (auto it = shared_->byMinute.begin(); it != shared_->byMinute.end();)
      it = it->second.file == file || it->second.status.state == State::Refused ? shared_->byMinute.erase(it)
                                                                                : std::next(it);
    shared_->byMinute[key] = Made{Status{State::Making, {}, {}, 0}, file};
  }
  nextFile_ = (nextFile_ + 1) % kFiles;
  jobs_.post([shared = shared_, &files = files_, decoder = decoder_, folder = folder_, hour, minute, key, file] {
    Status done;
    const JoinedClips joined = JoinClips(files, decoder, folder, hour, minute);
    if (joined.error != AudioError::None) {
      done.state = State::Refused;
      done.problem = JoinProblem(joined);
    } else {
      std::string out = files.cacheFolder();
      if (!out.empty() && out.back() != '\\' && out.back() != '/') out += '\\';
      const std::string path = out + FileName(file);
      if (out.empty() || !files.replaceAll(path, joined.wav)) {
        done.state = State::Refused;
        done.problem = "n\xC3\xA3o foi poss\xC3\xADvel gravar " + FileName(file);
      } else {
        done.state = State::Ready;
        done.path = path;
        done.seconds = joined.seconds;
      }
    }
    std::lock_guard<std::mutex> lock(shared->mutex);
    // Forgotten meanwhile: its file went to a newer minute.
    if (auto it = shared->byMinute.find(key); it != shared->byMinute.end() && it->second.file == file)
      it->second.status = std::move(done);
  });
}

}  // namespace orv

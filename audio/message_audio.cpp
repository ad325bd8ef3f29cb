#include "audio/message_audio.h"

#include <set>

#include "audio/copy_cache.h"
#include "audio/host_copy_job.h"
#include "audio/wav_reader.h"

namespace orv {

namespace {

constexpr const char* kHostFormat = "PCM 8 bits mono 8000 Hz";
// Names an operator can type or hover over in a long session: past this
// many the remembered ones are forgotten and read again when asked.
constexpr std::size_t kMaxRemembered = 512;

HostCopy Failed(const std::string& path, AudioError error) {
  HostCopy c;
  c.state = HostCopy::State::Failed;
  c.path = path;
  c.error = error;
  return c;
}

HostCopy Ready(const std::string& path, bool converted) {
  HostCopy c;
  c.state = HostCopy::State::Ready;
  c.path = path;
  c.converted = converted;
  return c;
}

}  // namespace

MessageAudio::MessageAudio(AudioFiles& files, SystemDecoder* decoder, Worker& worker)
    : files_(files), decoder_(decoder), worker_(worker), self_(std::make_shared<MessageAudio*>(this)) {}

MessageAudio::~MessageAudio() = default;

std::string MessageAudio::CopyPathFor(const std::string& folder, const std::string& source) {
  return orv::CopyPathFor(folder, source);
}

std::string MessageAudio::folder() {
  if (folder_.empty()) folder_ = files_.cacheFolder();
  return folder_;
}

const MessageAudio::Known* MessageAudio::know(const std::string& path, const FileStamp& stamp) {
  auto it = known_.find(path);
  if (it != known_.end() && it->second.stamp == stamp) return &it->second;
  Known k;
  k.stamp = stamp;
  const std::unique_ptr<ByteReader> file = files_.open(path);
  if (!file) {
    k.info.error = AudioError::CannotOpen;
  } else {
    const WavParse wav = ParseWav(*file);
    const bool systemsTurn = wav.error == AudioError::NotAudio ||
                             (wav.error == AudioError::None && wav.layout.format.encoding == SampleEncoding::Compressed);
    k.info.error = wav.error;
    k.info.format = wav.error == AudioError::None ? DescribeFormat(wav.layout.format) : "";
    k.info.seconds = wav.layout.seconds;
    k.info.hostReady = wav.error == AudioError::None && IsHostFormat(wav.layout.format);
    k.portable = wav.error == AudioError::None && !systemsTurn;
    if (systemsTurn) {
      if (wav.error == AudioError::None) k.info.error = AudioError::Unsupported;
      if (decoder_) {
        const SystemProbe probe = decoder_->probe(path);
        if (probe.error == AudioError::None) {
          k.info.error = AudioError::None;
          if (!probe.format.empty()) k.info.format = probe.format;
          k.info.seconds = probe.seconds;
        }
      }
    }
  }
  if (k.info.error == AudioError::None && k.info.seconds > kLongestMessageSeconds) k.info.error = AudioError::TooLong;
  if (known_.size() >= kMaxRemembered) known_.clear();
  Known& slot = known_[path];
  slot = std::move(k);
  return &slot;
}

AudioFileInfo MessageAudio::inspect(const std::string& path) {
  const auto stamp = files_.stamp(path);
  if (!stamp) {
    known_.erase(path);
    AudioFileInfo info;
    info.error = AudioError::CannotOpen;
    return info;
  }
  return know(path, *stamp)->info;
}

HostCopy MessageAudio::prepareHostCopy(const std::string& path) {
  const auto stamp = files_.stamp(path);
  if (!stamp) return Failed(path, AudioError::CannotOpen);
  if (auto it = made_.find(path); it != made_.end() && it->second.stamp == *stamp) {
    Made& m = it->second;
    if (m.error != AudioError::None) return Failed(path, m.error);
    if (files_.stamp(m.path)) {
      // The copy's time says when it was last used; the cache's sweep goes by it.
      if (const std::uint64_t now = files_.now(); now > m.used + kFileTimeDay) {
        files_.touch(m.path);
        m.used = now;
      }
      return Ready(m.path, true);
    }
    made_.erase(it);  // removed behind the program's back: made again
  }
  if (auto it = underWay_.find(path); it != underWay_.end() && it->second == *stamp) return HostCopy{};

  const Known* k = know(path, *stamp);
  if (k->info.error != AudioError::None) return Failed(path, k->info.error);
  if (k->info.hostReady) return Ready(path, false);
  const std::string cache = folder();
  if (cache.empty()) return Failed(path, AudioError::CannotWrite);

  CopyOrder order;
  order.source = path;
  order.stamp = *stamp;
  order.portable = k->portable;
  order.copy = CopyPathFor(cache, path);
  order.maxSeconds = kLongestMessageSeconds;
  for (const auto& [source, m] : made_)
    if (m.error == AudioError::None) order.keep.insert(m.path);
  underWay_[path] = *stamp;
  AudioFiles& files = files_;
  SystemDecoder* decoder = decoder_;
  std::weak_ptr<MessageAudio*> self = self_;
  worker_.post([&files, decoder, order = std::move(order), self](const std::atomic<bool>& stopping) -> Worker::Result {
    const CopyOutcome outcome = MakeHostCopy(files, decoder, order, stopping);
    return [self, order, outcome] {
      const auto alive = self.lock();
      if (!alive) return;
      MessageAudio& audio = **alive;
      if (auto it = audio.underWay_.find(order.source); it != audio.underWay_.end() && it->second == order.stamp)
        audio.underWay_.erase(it);
      if (outcome.stopped) return;
      if (audio.made_.size() >= kMaxRemembered) audio.made_.clear();
      audio.made_[order.source] = Made{order.stamp, order.copy, outcome.error, audio.files_.now()};
    };
  });
  return HostCopy{};
}

void MessageAudio::tidyCache() {
  std::set<std::string> keep;
  for (const auto& [source, m] : made_)
    if (m.error == AudioError::None) keep.insert(m.path);
  AudioFiles& files = files_;
  // The folder is found there too: the shell's call has no place at start-up.
  worker_.post([&files, keep](const std::atomic<bool>&) -> Worker::Result {
    SweepCache(files, files.cacheFolder(), keep, Sweep::Whole);
    return {};
  });
}

std::string HostFormatName() { return kHostFormat; }

}  // namespace orv

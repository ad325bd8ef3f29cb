#include "audio/message_audio.h"

#include "audio/host_format.h"
#include "audio/wav_reader.h"

namespace orv {

namespace {

// Larger than any message; a file past it is not read whole into memory.
constexpr std::uint64_t kMaxBytes = std::uint64_t{1} << 30;
constexpr const char* kHostFormat = "PCM 8 bits mono 8000 Hz";

// Windows names one file with either case and either slash.
std::string Folded(const std::string& path) {
  std::string s = path;
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c == '/') c = '\\';
  }
  return s;
}

std::string Hex64(std::uint64_t v) {
  static const char* digits = "0123456789abcdef";
  std::string s(16, '0');
  for (int i = 15; i >= 0; --i, v >>= 4) s[static_cast<std::size_t>(i)] = digits[v & 15];
  return s;
}

// What the copy was made from, kept beside it.
std::string SidecarText(const std::string& source, const FileStamp& stamp) {
  return "Orvalen\n" + std::to_string(stamp.size) + " " + std::to_string(stamp.modified) + "\n" + Folded(source) + "\n";
}

std::string SidecarPath(const std::string& copy) { return copy.substr(0, copy.size() - 4) + ".txt"; }

}  // namespace

MessageAudio::MessageAudio(AudioFiles& files, SystemDecoder* decoder) : files_(files), decoder_(decoder) {}

std::string MessageAudio::CopyPathFor(const std::string& folder, const std::string& source) {
  // FNV-1a over the whole folded path; the sidecar's own copy of the path
  // turns away the rare two paths that share a hash.
  std::uint64_t h = 0xcbf29ce484222325ull;
  for (unsigned char c : Folded(source)) h = (h ^ c) * 0x100000001b3ull;
  std::string base = folder;
  if (!base.empty() && base.back() != '\\' && base.back() != '/') base += '\\';
  return base + Hex64(h) + ".wav";
}

const MessageAudio::Known* MessageAudio::know(const std::string& path, AudioError& error) {
  const auto stamp = files_.stamp(path);
  if (!stamp) {
    error = AudioError::CannotOpen;
    known_.erase(path);
    return nullptr;
  }
  auto it = known_.find(path);
  if (it != known_.end() && it->second.stamp == *stamp) {
    error = it->second.info.error;
    return &it->second;
  }
  Known k;
  k.stamp = *stamp;
  const auto bytes = stamp->size > kMaxBytes ? std::nullopt : files_.readAll(path);
  if (stamp->size > kMaxBytes) {
    k.info.error = AudioError::TooLarge;
  } else if (!bytes) {
    k.info.error = AudioError::CannotOpen;
  } else {
    const WavParse wav = ParseWav(*bytes);
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
  error = k.info.error;
  auto& slot = known_[path];
  slot = std::move(k);
  return &slot;
}

AudioFileInfo MessageAudio::inspect(const std::string& path) {
  AudioError error = AudioError::None;
  const Known* k = know(path, error);
  if (!k) {
    AudioFileInfo info;
    info.error = error;
    return info;
  }
  return k->info;
}

std::optional<std::string> MessageAudio::readyHostCopy(const std::string& path) {
  const auto it = ready_.find(path);
  if (it == ready_.end() || it->second.error != AudioError::None) return std::nullopt;
  const auto stamp = files_.stamp(path);
  if (!stamp || !(*stamp == it->second.stamp)) return std::nullopt;
  if (it->second.converted && !files_.stamp(it->second.path)) return std::nullopt;
  return it->second.path;
}

HostCopy MessageAudio::prepareHostCopy(const std::string& path) {
  HostCopy copy;
  if (auto ready = readyHostCopy(path)) {
    copy.path = *ready;
    copy.converted = ready_[path].converted;
    return copy;
  }
  if (auto it = ready_.find(path); it != ready_.end() && it->second.error != AudioError::None) {
    const auto stamp = files_.stamp(path);
    if (stamp && *stamp == it->second.stamp) {
      copy.error = it->second.error;
      return copy;
    }
  }
  ready_.erase(path);
  AudioError error = AudioError::None;
  const Known* k = know(path, error);
  if (!k || error != AudioError::None) {
    copy.error = error;
    return copy;
  }
  if (k->info.hostReady) {
    ready_[path] = Ready{k->stamp, path, false};
    copy.path = path;
    return copy;
  }
  copy = convert(path, *k);
  if (copy.error != AudioError::None) ready_[path] = Ready{k->stamp, "", false, copy.error};
  return copy;
}

HostCopy MessageAudio::convert(const std::string& path, const Known& known) {
  HostCopy copy;
  const std::string folder = files_.cacheFolder();
  if (folder.empty()) {
    copy.error = AudioError::CannotOpen;
    return copy;
  }
  const std::string target = CopyPathFor(folder, path);
  const std::string sidecar = SidecarText(path, known.stamp);
  // Made by an earlier run from the same source as it is now.
  const auto made = files_.readAll(SidecarPath(target));
  if (!(made && *made == sidecar && files_.stamp(target))) {
    MonoAudio audio;
    if (known.portable) {
      const auto bytes = files_.readAll(path);
      if (!bytes) {
        copy.error = AudioError::CannotOpen;
        return copy;
      }
      WavDecode d = DecodeWavMono(*bytes);
      if (d.error != AudioError::None) {
        copy.error = d.error;
        return copy;
      }
      audio = std::move(d.audio);
    } else {
      SystemDecode d = decoder_ ? decoder_->decode(path) : SystemDecode{AudioError::Unsupported, {}};
      if (d.error != AudioError::None) {
        copy.error = d.error;
        return copy;
      }
      audio = std::move(d.audio);
    }
    // The sidecar goes last: a copy without a matching one is made again.
    if (!files_.replaceAll(target, ConvertToHostWav(audio)) || !files_.replaceAll(SidecarPath(target), sidecar)) {
      copy.error = AudioError::CannotOpen;
      return copy;
    }
  }
  ready_[path] = Ready{known.stamp, target, true};
  copy.path = target;
  copy.converted = true;
  return copy;
}

std::string HostFormatName() { return kHostFormat; }

}  // namespace orv

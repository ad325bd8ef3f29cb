#include "announce/time_clips.h"

#include <cstdio>

#include "audio/host_format.h"
#include "audio/resampler.h"
#include "audio/wav_reader.h"

namespace orv {

namespace {

// A clip says a word or two; these bounds keep a wrong file (a whole
// recording dropped into the folder) from filling the memory.
constexpr std::uint64_t kClipBytesLimit = std::uint64_t{32} << 20;
constexpr double kClipSecondsLimit = 30;

std::string Numbered(char letter, int n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%c%02d.wav", letter, n % 100);
  return buf;
}

// One clip as 8-bit samples at 8000 Hz, appended to `out`.
AudioError AppendClip(AudioFiles& files, SystemDecoder* decoder, const std::string& path,
                      std::vector<std::uint8_t>& out) {
  const auto stamp = files.stamp(path);
  if (!stamp) return AudioError::CannotOpen;
  if (stamp->size > kClipBytesLimit) return AudioError::TooLarge;
  const auto bytes = files.readAll(path);
  if (!bytes) return AudioError::CannotOpen;
  const WavParse wav = ParseWav(*bytes);
  if (wav.error == AudioError::None && IsHostFormat(wav.layout.format)) {
    // Already the host's samples: copied as they are, not dithered again.
    if (wav.layout.seconds > kClipSecondsLimit) return AudioError::TooLarge;
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes->data() + wav.layout.dataOffset);
    out.insert(out.end(), p, p + wav.layout.dataBytes);
    return AudioError::None;
  }
  MonoAudio audio;
  const bool systemsTurn = wav.error == AudioError::NotAudio ||
                           (wav.error == AudioError::None && wav.layout.format.encoding == SampleEncoding::Compressed);
  if (systemsTurn) {
    if (!decoder) return wav.error == AudioError::None ? AudioError::Unsupported : wav.error;
    SystemDecode d = decoder->decode(path);
    if (d.error != AudioError::None) return d.error;
    audio = std::move(d.audio);
  } else {
    WavDecode d = DecodeWavMono(*bytes);
    if (d.error != AudioError::None) return d.error;
    audio = std::move(d.audio);
  }
  if (audio.sampleRate == 0) return AudioError::Corrupt;
  if (static_cast<double>(audio.samples.size()) / audio.sampleRate > kClipSecondsLimit) return AudioError::TooLarge;
  const std::vector<std::uint8_t> samples = QuantizeTo8Bit(ResampleTo8000(audio.samples, audio.sampleRate));
  out.insert(out.end(), samples.begin(), samples.end());
  return AudioError::None;
}

}  // namespace

std::vector<TimeClip> ClipsFor(int hour, int minute) {
  return {{"abertura.wav", true}, {Numbered('h', hour), false}, {Numbered('m', minute), false}, {"fecho.wav", true}};
}

std::vector<TimeClip> AllClips() {
  std::vector<TimeClip> all{{"abertura.wav", true}};
  for (int h = 0; h < 24; ++h) all.push_back({Numbered('h', h), false});
  for (int m = 0; m < 60; ++m) all.push_back({Numbered('m', m), false});
  all.push_back({"fecho.wav", true});
  return all;
}

JoinedClips JoinClips(AudioFiles& files, SystemDecoder* decoder, const std::string& folder, int hour, int minute) {
  JoinedClips joined;
  std::vector<std::uint8_t> samples;
  for (const TimeClip& clip : ClipsFor(hour, minute)) {
    const std::string path = folder + clip.name;
    if (!files.stamp(path)) {
      if (clip.optional) continue;
      joined.error = AudioError::CannotOpen;
      joined.missing = true;
      joined.clip = kClipFolderName + "\\" + clip.name;
      return joined;
    }
    if (const AudioError e = AppendClip(files, decoder, path, samples); e != AudioError::None) {
      joined.error = e;
      joined.clip = kClipFolderName + "\\" + clip.name;
      return joined;
    }
  }
  joined.seconds = static_cast<double>(samples.size()) / kHostRate;
  joined.wav = WriteWav8Mono(samples, kHostRate);
  return joined;
}

std::vector<std::string> MissingClips(const std::function<bool(const std::string&)>& exists, const std::string& folder) {
  std::vector<std::string> missing;
  for (const TimeClip& clip : AllClips())
    if (!clip.optional && !exists(folder + clip.name)) missing.push_back(kClipFolderName + "\\" + clip.name);
  return missing;
}

std::string JoinProblem(const JoinedClips& joined) {
  if (joined.error == AudioError::None) return {};
  if (joined.missing) return "falta " + joined.clip;
  return joined.clip + ": " + AudioErrorReason(joined.error);
}

}  // namespace orv

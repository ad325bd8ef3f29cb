#include "announce/time_clips.h"

#include <cstdio>

#include "audio/host_format.h"
#include "audio/wav_reader.h"

namespace orv {

namespace {

// A clip says a word or two; these bounds keep a wrong file (a whole
// recording dropped into the folder) from filling the memory.
constexpr std::uint64_t kClipBytesLimit = std::uint64_t{32} << 20;
constexpr double kClipSecondsLimit = 30;
constexpr std::size_t kBlock = 64 * 1024;

std::string Numbered(char letter, int n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%c%02d.wav", letter, n % 100);
  return buf;
}

void Put32(std::string& s, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

struct Appended {
  AudioError error = AudioError::None;
  bool stopped = false;
  std::uint64_t samples = 0;
};

// The data bytes of a host-format clip, as they are: not dithered again.
Appended CopySamples(ByteReader& in, const WavLayout& layout, FileWriter& out) {
  Appended a;
  if (layout.seconds > kClipSecondsLimit) return {AudioError::TooLong};
  std::string block(kBlock, '\0');
  for (std::uint64_t at = 0; at < layout.dataBytes;) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, layout.dataBytes - at));
    if (in.read(layout.dataOffset + at, block.data(), want) != want) return {AudioError::CannotOpen};
    if (!out.append(block.data(), want)) return {AudioError::CannotWrite};
    at += want;
  }
  a.samples = layout.dataBytes;
  return a;
}

// Any other clip, decoded and converted into a few seconds of host samples
// in memory, then appended.
Appended ConvertSamples(ByteReader& in, const WavParse& wav, SystemDecoder* decoder, const std::string& path,
                        FileWriter& out, const std::atomic<bool>& stopping) {
  MemoryWriter clip;
  HostWavWriter writer(clip, kClipSecondsLimit, &stopping);
  const bool systemsTurn = wav.error == AudioError::NotAudio ||
                           (wav.error == AudioError::None && wav.layout.format.encoding == SampleEncoding::Compressed);
  AudioError error = wav.error;
  if (systemsTurn) error = decoder ? decoder->decode(path, writer) : wav.error == AudioError::None ? AudioError::Unsupported : wav.error;
  else if (wav.error == AudioError::None) error = DecodeWav(in, wav.layout, writer);
  if (error != AudioError::None) return {error};
  if (!writer.finish()) {
    if (writer.stopped() == HostWavWriter::Stop::Stopped) return {AudioError::None, true};
    return {writer.stopped() == HostWavWriter::Stop::TooLong ? AudioError::TooLong : AudioError::Corrupt};
  }
  const WavParse made = ParseWav(clip.bytes);
  const std::uint64_t n = writer.samplesWritten();
  if (!out.append(clip.bytes.data() + made.layout.dataOffset, static_cast<std::size_t>(n))) return {AudioError::CannotWrite};
  return {AudioError::None, false, n};
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

JoinedClips JoinClips(AudioFiles& files, SystemDecoder* decoder, const std::string& folder, int hour, int minute,
                      FileWriter& out, const std::atomic<bool>& stopping) {
  JoinedClips joined;
  const std::string header = WriteWav8Mono({}, kHostRate);
  if (!out.append(header.data(), header.size())) {
    joined.error = AudioError::CannotWrite;
    return joined;
  }
  std::uint64_t samples = 0;
  for (const TimeClip& clip : ClipsFor(hour, minute)) {
    if (stopping.load(std::memory_order_relaxed)) {
      joined.stopped = true;
      return joined;
    }
    const std::string path = folder + clip.name;
    const auto stamp = files.stamp(path);
    auto fail = [&](AudioError e) {
      joined.error = e;
      joined.clip = kClipFolderName + "\\" + clip.name;
      return joined;
    };
    if (!stamp) {
      if (clip.optional) continue;
      joined.missing = true;
      return fail(AudioError::CannotOpen);
    }
    if (stamp->size > kClipBytesLimit) return fail(AudioError::TooLong);
    auto in = files.open(path);
    if (!in) return fail(AudioError::CannotOpen);
    const WavParse wav = ParseWav(*in);
    const Appended a = wav.error == AudioError::None && IsHostFormat(wav.layout.format)
                           ? CopySamples(*in, wav.layout, out)
                           : ConvertSamples(*in, wav, decoder, path, out, stopping);
    if (a.stopped) {
      joined.stopped = true;
      return joined;
    }
    if (a.error != AudioError::None) return fail(a.error);
    samples += a.samples;
  }
  // The sizes, now that they are known; an odd count is padded.
  if (samples & 1) out.append("", 1);
  std::string riff, data;
  Put32(riff, static_cast<std::uint32_t>(36 + samples + (samples & 1)));
  Put32(data, static_cast<std::uint32_t>(samples));
  if (!out.writeAt(4, riff.data(), 4) || !out.writeAt(40, data.data(), 4)) {
    joined.error = AudioError::CannotWrite;
    return joined;
  }
  joined.seconds = static_cast<double>(samples) / kHostRate;
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
  // A clip is a word or two: the messages' own limit of hours says nothing here.
  if (joined.error == AudioError::TooLong) return joined.clip + ": longo demais para um peda\xC3\xA7o da hora (mais de 30 s)";
  return joined.clip + ": " + AudioErrorReason(joined.error);
}

}  // namespace orv

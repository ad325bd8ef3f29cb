#include "audio/host_copy_job.h"

#include <exception>
#include <memory>

#include "audio/copy_cache.h"
#include "audio/host_format.h"
#include "audio/wav_reader.h"

namespace orv {

namespace {

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

CopyOutcome Convert(AudioFiles& files, SystemDecoder* decoder, const CopyOrder& order,
                    const std::atomic<bool>& stopping) {
  CopyOutcome outcome;
  const std::string notePath = CopyNotePath(order.copy);
  const std::string note = CopyNote(order.source, order.stamp);
  // Made by an earlier run from the same source as it is now.
  if (const auto made = files.readAll(notePath); made && *made == note && files.stamp(order.copy)) {
    files.touch(order.copy);
    return outcome;
  }
  // Until the new copy is whole, no note may vouch for the old one.
  files.remove(notePath);
  std::unique_ptr<FileWriter> out = files.create(order.copy);
  if (!out) {
    outcome.error = AudioError::CannotWrite;
    return outcome;
  }
  HostWavWriter writer(*out, order.maxSeconds, &stopping);
  AudioError error = AudioError::None;
  if (order.portable) {
    std::unique_ptr<ByteReader> in = files.open(order.source);
    if (!in) {
      outcome.error = AudioError::CannotOpen;
      return outcome;
    }
    const WavParse wav = ParseWav(*in);
    error = wav.error != AudioError::None ? wav.error : DecodeWav(*in, wav.layout, writer);
  } else {
    error = decoder ? decoder->decode(order.source, writer) : AudioError::Unsupported;
  }
  if (error == AudioError::None && !writer.finish()) {
    switch (writer.stopped()) {
      case HostWavWriter::Stop::Stopped: outcome.stopped = true; break;
      case HostWavWriter::Stop::TooLong: error = AudioError::TooLong; break;
      case HostWavWriter::Stop::WriteFailed: error = AudioError::CannotWrite; break;
      case HostWavWriter::Stop::None: error = AudioError::Corrupt; break;   // no sound came at all
    }
  }
  if (outcome.stopped) return outcome;
  if (error != AudioError::None) {
    outcome.error = error;
    return outcome;
  }
  // The note goes last: a copy without a matching one is made again.
  if (!out->commit() || !files.replaceAll(notePath, note)) {
    outcome.error = AudioError::CannotWrite;
    return outcome;
  }
  outcome.made = true;
  std::set<std::string> keep = order.keep;
  keep.insert(order.copy);
  SweepCache(files, FolderOf(order.copy), keep, Sweep::SizeOnly);
  return outcome;
}

}  // namespace

CopyOutcome MakeHostCopy(AudioFiles& files, SystemDecoder* decoder, const CopyOrder& order,
                         const std::atomic<bool>& stopping) {
  // Memory is bounded by design; should the system still refuse it, the
  // copy fails like any other rather than ending the program.
  try {
    return Convert(files, decoder, order, stopping);
  } catch (const std::exception&) {
    CopyOutcome outcome;
    outcome.error = AudioError::CannotWrite;
    return outcome;
  }
}

}  // namespace orv

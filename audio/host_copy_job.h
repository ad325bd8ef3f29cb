#pragma once
// The worker's half of a host copy: found ready from an earlier run, or
// decoded and converted a block at a time into the cache folder, so memory
// stays bounded whatever the file's size. Runs on the worker thread and
// touches nothing but the files.
#include <atomic>
#include <set>
#include <string>

#include "audio/audio_files.h"
#include "audio/system_decoder.h"

namespace orv {

struct CopyOrder {
  std::string source;
  FileStamp stamp;           // the source as it was when the copy was asked for
  bool portable = false;     // the WAV reader decodes it; else the system's decoders
  std::string copy;          // where the copy goes
  double maxSeconds = 0;     // longer sound is refused, and the copy not made
  std::set<std::string> keep;  // copies in use, which the cache's ceiling spares
};

struct CopyOutcome {
  AudioError error = AudioError::None;
  bool made = false;         // converted now (rather than found)
  bool stopped = false;      // the program is ending: nothing was decided
};

CopyOutcome MakeHostCopy(AudioFiles& files, SystemDecoder* decoder, const CopyOrder& order,
                         const std::atomic<bool>& stopping);

}  // namespace orv

#pragma once
// The time of day spoken from recorded clips in the folder hora\ beside the
// program: abertura.wav (optional), hHH.wav for the hour, mMM.wav for the
// minutes, fecho.wav (optional), joined into one message in the host's own
// format, 8-bit mono 8000 Hz.
//
// Clips are read one at a time, each brought to the host's format as it is
// decoded and appended to the message's file: the memory used is one
// clip's few seconds of 8-bit sound.
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "audio/audio_error.h"
#include "audio/audio_files.h"
#include "audio/system_decoder.h"

namespace orv {

inline const std::string kClipFolderName = "hora";

struct TimeClip {
  std::string name;       // "h07.wav"
  bool optional = false;
};

// In the order they are spoken.
std::vector<TimeClip> ClipsFor(int hour, int minute);
// Every clip a complete folder has, the optional ones included.
std::vector<TimeClip> AllClips();

struct JoinedClips {
  AudioError error = AudioError::None;
  std::string clip;       // the clip at fault, "hora\m07.wav"
  bool missing = false;   // that clip is not there at all
  bool stopped = false;   // the program is ending: nothing was decided
  double seconds = 0;
};

// Writes the message to `out` (a whole WAV file, its sizes filled in at the
// end); `out` is not committed. `folder` is the clips' folder with a
// trailing "\". `decoder` may be null.
JoinedClips JoinClips(AudioFiles& files, SystemDecoder* decoder, const std::string& folder, int hour, int minute,
                      FileWriter& out, const std::atomic<bool>& stopping);

// The clips a folder lacks among those that are not optional, as
// "hora\h07.wav"; `exists` is asked with the full path.
std::vector<std::string> MissingClips(const std::function<bool(const std::string&)>& exists, const std::string& folder);

// Why the message could not be made, naming the clip, for the record.
std::string JoinProblem(const JoinedClips& joined);

}  // namespace orv

#pragma once
// What the program knows of a message's file, and the copy of it the host
// is handed in RF + IP mode.
//
// The host transmits PCM 8-bit mono 8000 Hz. A file already in that format
// goes as it stands; any other is converted once into the program's cache
// folder, under a name drawn from the source's full path (so two sources
// never share a copy), and converted again only when the source's size or
// modification time changes (kept beside the copy, so a restart reuses it).
#include <map>
#include <optional>
#include <string>

#include "audio/audio_error.h"
#include "audio/audio_files.h"
#include "audio/system_decoder.h"

namespace orv {

struct AudioFileInfo {
  AudioError error = AudioError::None;
  std::string format;       // "PCM 16 bits estéreo 44100 Hz"
  double seconds = 0;
  bool hostReady = false;   // goes to the host as it stands
};

struct HostCopy {
  AudioError error = AudioError::None;
  std::string path;         // the file to hand the host
  bool converted = false;
};

// "PCM 8 bits mono 8000 Hz"
std::string HostFormatName();

class MessageAudio {
 public:
  // `decoder` may be null: then only what the portable reader reads is read.
  MessageAudio(AudioFiles& files, SystemDecoder* decoder);

  // Read once per size and modification time of the file.
  AudioFileInfo inspect(const std::string& path);
  // Makes the host's file ready: the source itself, a current copy found in
  // the cache, or a copy converted now.
  HostCopy prepareHostCopy(const std::string& path);
  // The host's file when it is ready and current; never converts, so a
  // sending tick can call it.
  std::optional<std::string> readyHostCopy(const std::string& path);

  // Where the copy of `source` lives in `folder`.
  static std::string CopyPathFor(const std::string& folder, const std::string& source);

 private:
  struct Known {
    FileStamp stamp;
    AudioFileInfo info;
    bool portable = false;  // the portable reader decodes it
  };
  struct Ready {
    FileStamp stamp;
    std::string path;
    bool converted = false;
    AudioError error = AudioError::None;  // a failed conversion is not tried again for the same source
  };
  const Known* know(const std::string& path, AudioError& error);
  HostCopy convert(const std::string& path, const Known& known);

  AudioFiles& files_;
  SystemDecoder* decoder_;
  std::map<std::string, Known> known_;
  std::map<std::string, Ready> ready_;
};

}  // namespace orv

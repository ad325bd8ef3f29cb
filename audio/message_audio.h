#pragma once
// What the program knows of a message's file, and the copy of it the host
// is handed in RF + IP mode. Lives on the window's thread and never makes it
// wait: a file's length and format come from its header alone, and copies
// are made by the worker, whose results come back to the window's thread.
//
// The host transmits PCM 8-bit mono 8000 Hz. A file already in that format
// goes as it stands; any other is converted once into the program's cache
// folder (see copy_cache.h), and converted again only when the source's size
// or modification time changes.
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "audio/audio_error.h"
#include "audio/audio_files.h"
#include "audio/system_decoder.h"
#include "platform/worker.h"

namespace orv {

// Longer messages are refused: their copy would take minutes to make, and
// nothing that long is a message.
inline constexpr double kLongestMessageSeconds = 4 * 3600.0;

struct AudioFileInfo {
  AudioError error = AudioError::None;
  std::string format;       // "PCM 16 bits estéreo 44100 Hz"
  double seconds = 0;
  bool hostReady = false;   // goes to the host as it stands
};

struct HostCopy {
  enum class State {
    Ready,     // `path` is whole and current: hand it to the host
    Pending,   // the copy is being made; ask again later
    Failed,    // no copy can be made (`error` says why); `path` is the message's own file
  };
  State state = State::Pending;
  std::string path;
  AudioError error = AudioError::None;
  bool converted = false;   // Ready: a copy in the cache, not the message's own file
};

// "PCM 8 bits mono 8000 Hz"
std::string HostFormatName();

class MessageAudio {
 public:
  // `decoder` may be null: then only what the portable reader reads is read.
  MessageAudio(AudioFiles& files, SystemDecoder* decoder, Worker& worker);
  ~MessageAudio();
  MessageAudio(const MessageAudio&) = delete;
  MessageAudio& operator=(const MessageAudio&) = delete;

  // The header only, read once per size and modification time of the file.
  // A message longer than kLongestMessageSeconds reads as TooLong.
  AudioFileInfo inspect(const std::string& path);
  // The host's file for `path` as things stand; when no copy is ready or
  // under way for the file as it is now, its making starts. Never waits.
  HostCopy prepareHostCopy(const std::string& path);
  // Start-up, before the first copy is asked for: the cache's sweep, which
  // the worker runs ahead of any copy.
  void tidyCache();
  // Copies asked for whose results have not come back yet.
  int copiesUnderWay() const { return static_cast<int>(underWay_.size()); }

  // Where the copy of `source` lives in `folder`.
  static std::string CopyPathFor(const std::string& folder, const std::string& source);

 private:
  struct Known {
    FileStamp stamp;
    AudioFileInfo info;
    bool portable = false;  // the portable reader decodes it
  };
  struct Made {
    FileStamp stamp;        // of the source it was made from
    std::string path;
    AudioError error = AudioError::None;  // a failed copy is not tried again for the same source
    std::uint64_t used = 0; // when its file's time was last set
  };
  const Known* know(const std::string& path, const FileStamp& stamp);
  std::string folder();

  AudioFiles& files_;
  SystemDecoder* decoder_;
  Worker& worker_;
  std::string folder_;
  std::map<std::string, Known> known_;
  std::map<std::string, Made> made_;
  std::map<std::string, FileStamp> underWay_;
  // Results that come back after this object is gone find it expired.
  std::shared_ptr<MessageAudio*> self_;
};

}  // namespace orv

#pragma once
// The spoken time of day, made ahead on the worker thread and handed out by
// minute. Whoever sends it (an agenda entry "@hora", the radio's command)
// asks for the minute it is now at the moment it could go out: a message
// made for a minute that has passed is never sent, one for the new minute
// is made instead.
#include <map>
#include <memory>
#include <string>

#include "announce/time_clips.h"
#include "platform/worker.h"

namespace orv {

class TimeAnnouncer {
 public:
  // `files` and `decoder` are used on the worker's thread only; `decoder`
  // may be null.
  TimeAnnouncer(Worker& worker, AudioFiles& files, SystemDecoder* decoder);
  ~TimeAnnouncer();
  TimeAnnouncer(const TimeAnnouncer&) = delete;
  TimeAnnouncer& operator=(const TimeAnnouncer&) = delete;

  // The program's folder, with its trailing "\": the clips are in hora\ there.
  void setProgramFolder(const std::string& caminho);

  enum class State { Absent, Making, Ready, Refused };
  struct Status {
    State state = State::Absent;
    std::string path;      // Ready: the message's file
    std::string problem;   // Refused: why, naming the clip
    double seconds = 0;
  };

  // Starts making the message for hour:minute unless it is made, being
  // made, or was refused for that minute.
  void prepare(int hour, int minute);
  Status status(int hour, int minute) const;

 private:
  struct Made {
    Status status;
    int file = 0;   // which of the files it is written to
  };
  // Shared with the results on their way back, which may outlive this.
  struct Shared {
    std::map<int, Made> byMinute;   // hour * 60 + minute
  };

  Worker& worker_;
  AudioFiles& files_;
  SystemDecoder* decoder_;
  std::string folder_;
  std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
  int nextFile_ = 0;
};

}  // namespace orv

#pragma once
// One playback graph per played file (a DirectShow filter graph manager on
// Windows). Every call can fail; failures are reported, never thrown.
#include <memory>
#include <optional>
#include <string>

namespace orv {

class PlaybackGraph {
 public:
  virtual ~PlaybackGraph() = default;  // releasing the graph stops its sound
  virtual bool renderFile(const std::string& path) = 0;
  virtual bool run() = 0;
  virtual std::optional<double> duration() = 0;          // seconds
  virtual std::optional<double> currentPosition() = 0;   // seconds
  virtual bool setCurrentPosition(double seconds) = 0;
  virtual bool setVolume(long hundredthsOfDb) = 0;       // 0 full .. -10000 silent
};

class PlaybackFactory {
 public:
  virtual ~PlaybackFactory() = default;
  // Nothing when the graph manager cannot be created.
  virtual std::unique_ptr<PlaybackGraph> create() = 0;
};

}  // namespace orv

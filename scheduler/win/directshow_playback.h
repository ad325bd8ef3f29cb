#pragma once
// Local playback over DirectShow: one filter graph manager per played file.
// Every call is made on the thread that created the graph, which must have
// entered a COM apartment first (the user-interface thread does).
#include <memory>

#include "platform/playback.h"

namespace orv::win {

class DirectShowPlayback : public PlaybackFactory {
 public:
  // Nothing when the filter graph manager cannot be created (COM not
  // initialised, DirectShow missing).
  std::unique_ptr<PlaybackGraph> create() override;
};

}  // namespace orv::win

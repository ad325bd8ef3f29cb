#include "scheduler/host_copy_path.h"

namespace orv {

HostCopy HostCopyPath(MessageAudio* audio, const std::string& messagePath) {
  if (audio) return audio->prepareHostCopy(messagePath);
  HostCopy copy;
  copy.state = HostCopy::State::Ready;
  copy.path = messagePath;
  return copy;
}

}  // namespace orv

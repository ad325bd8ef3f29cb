#include "scheduler/host_copy_path.h"

#include "audio/message_audio.h"

namespace orv {

std::string HostCopyPath(MessageAudio* audio, const std::string& messagePath) {
  if (!audio) return messagePath;
  return audio->readyHostCopy(messagePath).value_or(messagePath);
}

}  // namespace orv

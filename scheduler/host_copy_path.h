#pragma once
// The file the host is handed for a message in RF + IP mode.
#include <string>

namespace orv {

class MessageAudio;

// The message's own file when it is in the host's format, else its
// converted copy when one is ready and current. Never converts: the copy is
// made before the send (arming, a new name, a stale copy found on a tick
// that sends nothing); without one the file goes as it stands.
std::string HostCopyPath(MessageAudio* audio, const std::string& messagePath);

}  // namespace orv

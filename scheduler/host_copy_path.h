#pragma once
// The file the host is handed for a message in RF + IP mode.
#include <string>

#include "audio/message_audio.h"

namespace orv {

// The message's own file when it is in the host's format, else its
// converted copy once that is ready and current. Never waits: a copy not
// made yet is asked for, and comes back Pending; the sender then waits as
// for a busy host. Failed carries the message's own file, which goes as it
// stands. Without `audio` every file goes as it stands.
HostCopy HostCopyPath(MessageAudio* audio, const std::string& messagePath);

}  // namespace orv

#pragma once
// What the slot's file-name box tells the operator about the file it names.
#include <string>

#include "audio/message_audio.h"

namespace orv {

// Lines: the length as the Length box shows it, the format, and how the
// file goes to the host in RF + IP mode. Empty for an empty name.
std::string MessageFileTip(const AudioFileInfo& info, bool found);

}  // namespace orv

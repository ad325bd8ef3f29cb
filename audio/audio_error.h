#pragma once
// Why a message's file cannot be used, in words the operator understands.
#include <string>

namespace orv {

enum class AudioError {
  None,
  CannotOpen,    // missing, locked, unreadable
  NotAudio,      // not a WAV file, and no system decoder took it
  Corrupt,       // a WAV file whose header makes no sense
  Truncated,     // a WAV file that ends before its sound does
  Unsupported,   // a WAV encoding this program does not decode by itself
  CannotWrite,   // the host's copy cannot be written
  TooLong,       // longer than a message may be: its copy would take too long to make
};

// Plain Portuguese, to follow "O arquivo não pode ser tocado: ".
std::string AudioErrorReason(AudioError error);

}  // namespace orv

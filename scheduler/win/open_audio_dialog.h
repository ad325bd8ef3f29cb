#pragma once
// The standard Open dialog for a slot's message file.
#include <windows.h>

#include "platform/file_picker.h"

namespace orv::win {

inline constexpr wchar_t kOpenAudioTitle[] = L"Escolha o arquivo da mensagem";

class WinAudioFilePicker : public FilePicker {
 public:
  explicit WinAudioFilePicker(HWND owner = nullptr) : owner_(owner) {}
  void setOwner(HWND owner) { owner_ = owner; }
  std::optional<std::string> pickAudioFile(const std::string& folder) override;

 private:
  HWND owner_;
};

}  // namespace orv::win

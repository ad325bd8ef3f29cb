#include "scheduler/win/open_audio_dialog.h"

#include <commdlg.h>

#include <vector>

#include "platform/win/text.h"

namespace orv::win {

std::optional<std::string> WinAudioFilePicker::pickAudioFile(const std::string& folder) {
  static constexpr wchar_t kFilter[] =
      L"Arquivos de \u00e1udio (*.wav)\0*.wav\0Todos os arquivos (*.*)\0*.*\0";
  std::vector<wchar_t> file(32768, L'\0');
  const std::wstring dir = Widen(folder);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner_;
  ofn.lpstrFilter = kFilter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = dir.c_str();
  ofn.lpstrTitle = kOpenAudioTitle;
  ofn.lpstrDefExt = L"wav";
  // Without OFN_NOCHANGEDIR the dialog moves the current directory to the
  // chosen file's folder, and the slot list, opened by its bare name, would
  // be read and written there.
  ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
              OFN_ENABLESIZING;
  if (!GetOpenFileNameW(&ofn)) return std::nullopt;
  return Narrow(file.data());
}

}  // namespace orv::win

#include "scheduler/win/open_audio_dialog.h"

#include <commdlg.h>

#include <vector>

#include "platform/win/text.h"

namespace orv::win {

namespace {
// Loaded on the first use, not at start-up: the dialog library is one of the
// slowest to load, and most sessions never open the dialog.
using GetOpenFileNameFn = BOOL(WINAPI*)(LPOPENFILENAMEW);
GetOpenFileNameFn OpenFileDialog() {
  static const GetOpenFileNameFn fn = [] {
    HMODULE dll = LoadLibraryW(L"comdlg32.dll");
    return dll ? reinterpret_cast<GetOpenFileNameFn>(reinterpret_cast<void*>(GetProcAddress(dll, "GetOpenFileNameW")))
               : nullptr;
  }();
  return fn;
}
}  // namespace

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
  const GetOpenFileNameFn open = OpenFileDialog();
  if (!open || !open(&ofn)) return std::nullopt;
  return Narrow(file.data());
}

}  // namespace orv::win

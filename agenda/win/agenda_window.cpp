#include "agenda/win/agenda_window.h"

#include <commctrl.h>

#include "announce/time_clips.h"
#include "audio/message_audio.h"
#include "scheduler/message_path.h"
#include "platform/win/text.h"

namespace orv::win {

namespace {

constexpr int kClientW = 660, kClientH = 560;
constexpr UINT_PTR kMinuteTimer = 1;

std::wstring Text(HWND w) {
  std::wstring s(static_cast<size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
  s.resize(static_cast<size_t>(GetWindowTextW(w, s.data(), static_cast<int>(s.size()))));
  return s;
}

void SetCell(HWND list, int row, int col, const std::string& text) {
  std::wstring w = Widen(text);
  LVITEMW item{};
  item.iSubItem = col;
  item.pszText = w.data();
  SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

HWND AgendaWindow::Add(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id,
                       DWORD ex) {
  HWND c = CreateWindowExW(ex, cls, text, style | WS_CHILD | WS_VISIBLE, dpi_.px(x), dpi_.px(y), dpi_.px(w), dpi_.px(h),
                           hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  return c;
}

bool AgendaWindow::Create() {
  dpi_ = Dpi::ForWindow(c_.main);
  font_ = UniqueFont(CreateScaledFont({L"MS Sans Serif", 8, false}, dpi_));
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  if (!CreateTopLevel(L"OrvalenAgenda", L"Agenda", style, 0, dpi_.px(kClientW), dpi_.px(kClientH), nullptr, c_.icon))
    return false;

  list_ = Add(WC_LISTVIEWW, L"", WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 8, 8, 644, 190,
              kIdList);
  SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  const struct { const wchar_t* name; int width; } columns[] = {
      {L"Linha", 44}, {L"Hora", 50}, {L"Dias", 150}, {L"Arquivo", 240}, {L"Ligada", 60}, {L"Arquivo existe", 90}};
  for (int i = 0; i < 6; ++i) {
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.cx = dpi_.px(columns[i].width);
    col.pszText = const_cast<wchar_t*>(columns[i].name);
    SendMessageW(list_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&col));
  }
  Add(L"STATIC", L"Hora", 0, 8, 210, 34, 16, -1);
  Add(L"EDIT", L"", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 42, 206, 52, 22, kIdHora);
  Add(L"STATIC", L"Dias", 0, 102, 210, 30, 16, -1);
  Add(L"EDIT", L"todos", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 132, 206, 150, 22, kIdDias);
  Add(L"STATIC", L"Arquivo", 0, 290, 210, 44, 16, -1);
  Add(L"EDIT", L"", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 336, 206, 236, 22, kIdArquivo);
  Add(L"BUTTON", L"Ligada", WS_TABSTOP | BS_AUTOCHECKBOX, 580, 206, 72, 22, kIdLigada);
  CheckDlgButton(hwnd(), kIdLigada, BST_CHECKED);
  Add(L"BUTTON", L"Adicionar", WS_TABSTOP | BS_PUSHBUTTON, 8, 236, 90, 26, kIdAdicionar);
  Add(L"BUTTON", L"Alterar", WS_TABSTOP | BS_PUSHBUTTON, 104, 236, 90, 26, kIdAlterar);
  Add(L"BUTTON", L"Remover", WS_TABSTOP | BS_PUSHBUTTON, 200, 236, 90, 26, kIdRemover);
  Add(L"BUTTON", L"Gravar", WS_TABSTOP | BS_PUSHBUTTON, 296, 236, 90, 26, kIdGravar);
  Add(L"STATIC", L"", 0, 398, 241, 254, 18, kIdState);
  Add(L"STATIC", L"Pr\u00f3ximas 24 horas: um tra\u00e7o por envio planejado; embaixo, o tempo no ar de cada hora", 0, 8,
      272, 644, 16, -1);
  RECT r{dpi_.px(8), dpi_.px(290), dpi_.px(652), dpi_.px(520)};
  timeline_.Create(hwnd(), kIdTimeline, r, dpi_, font_.get());
  HWND hover = Add(L"STATIC", L"Passe o mouse sobre um tra\u00e7o para ver a hora, a origem e o arquivo.", 0, 8, 528,
                   644, 18, kIdHover);
  timeline_.onHover = [hover](const std::string& text) {
    SetWindowTextW(hover, text.empty() ? L"" : Widen(text).c_str());
  };

  edited_ = c_.agenda->file();
  Fill();
  RefreshPlan();
  SetTimer(hwnd(), kMinuteTimer, 60 * 1000, nullptr);
  // Beside the main window, on the same screen.
  RECT m;
  GetWindowRect(c_.main, &m);
  SetWindowPos(hwnd(), nullptr, m.left + dpi_.px(40), m.top + dpi_.px(40), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  return true;
}

bool AgendaWindow::FileExists(const std::string& name) {
  FileSystem& files = *c_.services->files;
  // The spoken time is there when every clip it may need is.
  if (IsTimeAnnouncement(name))
    return MissingClips([&files](const std::string& p) { return files.exists(p); },
                        c_.fields->caminho + kClipFolderName + "\\")
        .empty();
  return files.exists(MessagePath(c_.fields->caminho, name));
}

std::optional<double> AgendaWindow::Length(const std::string& name) {
  // The header only, and read again only when the file changed.
  MessageAudio* audio = c_.services->audio;
  if (!audio) return std::nullopt;
  const AudioFileInfo info = audio->inspect(MessagePath(c_.fields->caminho, name));
  if (info.error != AudioError::None) return std::nullopt;
  return info.seconds;
}

void AgendaWindow::Fill() {
  SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
  int row = 0;
  for (size_t i = 0; i < edited_.lines.size(); ++i) {
    const AgendaLine& line = edited_.lines[i];
    if (line.kind == AgendaLine::Kind::Comment) continue;
    std::wstring number = std::to_wstring(i + 1);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = row;
    item.pszText = number.data();
    item.lParam = static_cast<LPARAM>(i);
    SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    if (line.kind == AgendaLine::Kind::Unreadable) {
      SetCell(list_, row, 3, line.text);
      SetCell(list_, row, 4, "ilegível: " + line.problem);
    } else {
      const AgendaEntry& e = line.entry;
      SetCell(list_, row, 1, FormatAgendaTime(e));
      SetCell(list_, row, 2, FormatAgendaDays(e.days));
      SetCell(list_, row, 3, e.file);
      SetCell(list_, row, 4, e.enabled ? "sim" : "não");
      SetCell(list_, row, 5, FileExists(e.file) ? "sim" : "NÃO");
    }
    ++row;
  }
  ShowState();
}

void AgendaWindow::ShowState() {
  SetDlgItemTextW(hwnd(), kIdState, dirty_ ? L"Altera\u00e7\u00f5es ainda n\u00e3o gravadas." : L"");
}

int AgendaWindow::SelectedLine() const {
  const int row = static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  if (row < 0) return -1;
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return static_cast<int>(item.lParam);
}

void AgendaWindow::OnSelect() {
  const int line = SelectedLine();
  if (line < 0 || line >= static_cast<int>(edited_.lines.size())) return;
  const AgendaLine& l = edited_.lines[line];
  if (l.kind != AgendaLine::Kind::Entry) return;
  SetDlgItemTextW(hwnd(), kIdHora, Widen(FormatAgendaTime(l.entry)).c_str());
  SetDlgItemTextW(hwnd(), kIdDias, Widen(FormatAgendaDays(l.entry.days)).c_str());
  SetDlgItemTextW(hwnd(), kIdArquivo, Widen(l.entry.file).c_str());
  CheckDlgButton(hwnd(), kIdLigada, l.entry.enabled ? BST_CHECKED : BST_UNCHECKED);
}

std::optional<AgendaEntry> AgendaWindow::EntryFromBoxes() {
  const std::string hora = Narrow(Text(GetDlgItem(hwnd(), kIdHora)));
  const std::string dias = Narrow(Text(GetDlgItem(hwnd(), kIdDias)));
  const std::string arquivo = Narrow(Text(GetDlgItem(hwnd(), kIdArquivo)));
  AgendaLine line = ParseAgendaLine(hora + " " + dias + " " + arquivo);
  if (line.kind != AgendaLine::Kind::Entry) {
    c_.services->dialogs->show(line.problem.empty() ? "Preencha a hora, os dias e o arquivo." : "N\xC3\xA3o d\xC3\xA1: " + line.problem + ".",
                               "Agenda", MsgButtons::Ok, MsgIcon::Error, 0);
    return std::nullopt;
  }
  line.entry.enabled = IsDlgButtonChecked(hwnd(), kIdLigada) == BST_CHECKED;
  if (!FileExists(line.entry.file))
    c_.services->dialogs->show("O arquivo " + line.entry.file + " n\xC3\xA3o existe. A entrada fica na agenda, mas n\xC3\xA3o ser\xC3\xA1 enviada enquanto ele faltar.",
                               "Agenda", MsgButtons::Ok, MsgIcon::Information, 0);
  return line.entry;
}

void AgendaWindow::AddEntry() {
  auto e = EntryFromBoxes();
  if (!e) return;
  AgendaLine line;
  line.kind = AgendaLine::Kind::Entry;
  line.entry = *e;
  line.text = FormatAgendaEntry(*e);
  edited_.lines.push_back(line);
  dirty_ = true;
  Fill();
  RefreshPlan();
}

void AgendaWindow::ChangeEntry() {
  const int index = SelectedLine();
  if (index < 0) return;
  auto e = EntryFromBoxes();
  if (!e) return;
  AgendaLine& line = edited_.lines[index];
  line.kind = AgendaLine::Kind::Entry;
  line.entry = *e;
  line.text = FormatAgendaEntry(*e);
  line.problem.clear();
  dirty_ = true;
  Fill();
  RefreshPlan();
}

void AgendaWindow::RemoveEntry() {
  const int index = SelectedLine();
  if (index < 0) return;
  edited_.lines.erase(edited_.lines.begin() + index);
  dirty_ = true;
  Fill();
  RefreshPlan();
}

void AgendaWindow::Save() {
  const std::string error = c_.agenda->save(edited_);
  if (!error.empty()) {
    c_.services->dialogs->show(error, "Agenda", MsgButtons::Ok, MsgIcon::Error, 0);
    return;
  }
  dirty_ = false;
  ShowState();
}

void AgendaWindow::RefreshPlan() {
  const LocalTime now = c_.services->clock->localNow();
  auto plan = PlanSends(SlotsFromControls(*c_.controls, c_.slotArmed), edited_, now);
  auto airtime = AirtimePerHour(plan, [this](const std::string& f) { return Length(f); });
  timeline_.SetPlan(std::move(plan), airtime, now);
}

LRESULT AgendaWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED) {
        switch (LOWORD(wp)) {
          case kIdAdicionar: AddEntry(); return 0;
          case kIdAlterar: ChangeEntry(); return 0;
          case kIdRemover: RemoveEntry(); return 0;
          case kIdGravar: Save(); return 0;
        }
      }
      break;
    case WM_NOTIFY: {
      const auto* n = reinterpret_cast<const NMHDR*>(lp);
      if (n->idFrom == kIdList && n->code == LVN_ITEMCHANGED) OnSelect();
      break;
    }
    case WM_TIMER:
      // Once a minute at most, and not for a hidden window: showing it rebuilds.
      if (wp == kMinuteTimer && IsWindowVisible(hwnd())) RefreshPlan();
      return 0;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wp);
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      if (GetDlgCtrlID(reinterpret_cast<HWND>(lp)) == kIdState) SetTextColor(dc, RGB(192, 0, 0));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_CLOSE:
      // Hidden, not destroyed: unsaved edits wait for the next opening.
      ShowWindow(hwnd(), SW_HIDE);
      return 0;
    case WM_DESTROY:
      KillTimer(hwnd(), kMinuteTimer);
      break;
  }
  return BaseWindow::HandleMessage(msg, wp, lp);
}

}  // namespace orv::win

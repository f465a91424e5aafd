// The Samples window: a modal dialog over the main window with the bank's
// sample list (owner data: the rows live in SamplesWindowState and the list
// asks for each cell it draws, so that 65535 rows open at once) and its
// buttons.
#include "app/win32/samples_window.h"

#include <algorithm>

#include "app/sample_sound.h"
#include "app/win32/samples_resource.h"

namespace {

// Column widths in dialog units; a column is never narrower than its heading.
const int ColumnUnits[SampleColumnCount] = {22, 80, 30, 34, 38, 38, 50, 32, 34};

struct ButtonOf {
  int ControlId;
  SamplesButton Button;
  void (*Command)(SamplesWindowState&, SamplesWindowPort&);
};

const ButtonOf Buttons[] = {
    {IDC_PlayBtn, SamplesButton::Play, &SamplesCommands::PlayClick},
    {IDC_StopBtn, SamplesButton::Stop, &SamplesCommands::StopClick},
    {IDC_PropertiesBtn, SamplesButton::Properties, &SamplesCommands::PropertiesClick},
    {IDC_ReplaceBtn, SamplesButton::Replace, &SamplesCommands::ReplaceClick},
    {IDC_ExportWavBtn, SamplesButton::ExportWav, &SamplesCommands::ExportWavClick},
    {IDC_ExportSoundFontBtn, SamplesButton::ExportSoundFont, &SamplesCommands::ExportSoundFontClick},
};

const bool EveryColumn[SampleColumnCount] = {true, true, true, true, true, true, true, true, true};

class SamplesWindow : public SamplesWindowPort {
 public:
  SamplesWindow(HINSTANCE instance, const std::string& bank) : instance_(instance) { state_.Bank = bank; }

  bool Open(HWND owner) {
    if (!SamplesCommands::OpenSamples(state_, reinterpret_cast<WindowRef>(owner))) {
      return false;
    }
    DialogBoxParamA(instance_, MAKEINTRESOURCEA(IDD_SamplesWindow), owner, &SamplesWindow::Proc,
                    reinterpret_cast<LPARAM>(this));
    // What plays belongs to the window: closing it ends the sound.
    StopSampleSound();
    return true;
  }

  WindowRef Owner() override { return reinterpret_cast<WindowRef>(handle_); }
  bool AskProperties(const std::string& title, SampleChanges& fields) override {
    const std::uint32_t frames = state_.Samples[static_cast<std::size_t>(state_.Selected)].Frames;
    return ShowPropertiesDialog(instance_, handle_, title, frames, fields);
  }
  bool AskFontSample(const std::string& font, const std::vector<SampleInfo>& samples, int& chosen) override {
    return ShowFontSampleDialog(instance_, handle_, font, samples, chosen);
  }

 private:
  static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    SamplesWindow* window = reinterpret_cast<SamplesWindow*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (message == WM_INITDIALOG) {
      window = reinterpret_cast<SamplesWindow*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      window->handle_ = dialog;
      window->Init();
      return TRUE;
    }
    return window != nullptr ? window->OnMessage(message, wParam, lParam) : FALSE;
  }

  void Init() {
    list_ = GetDlgItem(handle_, IDC_SampleList);
    SetUpSampleList(list_, EveryColumn, state_.Samples.size());
    Show();
  }

  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
          EndDialog(handle_, 0);
          return TRUE;
        }
        if (HIWORD(wParam) == BN_CLICKED) {
          Run(LOWORD(wParam));
        }
        return TRUE;
      case WM_NOTIFY: {
        NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->idFrom != IDC_SampleList) {
          return FALSE;
        }
        if (header->code == LVN_GETDISPINFOA) {
          FillSampleCell(*reinterpret_cast<NMLVDISPINFOA*>(lParam), EveryColumn, state_.Samples, cell_);
        } else if (header->code == LVN_ITEMCHANGED && !showing_) {
          state_.Selected = SelectedRow(list_);
          EnableButtons();
        } else if (header->code == NM_DBLCLK) {
          Run(IDC_PlayBtn);
        }
        return TRUE;
      }
      default:
        return FALSE;
    }
  }

  void Run(int id) {
    for (const ButtonOf& button : Buttons) {
      if (button.ControlId == id) {
        state_.Selected = SelectedRow(list_);
        button.Command(state_, *this);
        Show();
        return;
      }
    }
  }

  // Every change shows at once: the rows are read again by the commands
  // that change the bank, and the list redraws what it shows.
  void Show() {
    showing_ = true;
    SetWindowTextA(handle_, SamplesWindowTitle(state_).c_str());
    ListView_SetItemCountEx(list_, static_cast<int>(state_.Samples.size()), LVSICF_NOSCROLL);
    SelectRow(list_, state_.Selected);
    InvalidateRect(list_, nullptr, TRUE);
    SetDlgItemTextA(handle_, IDC_SamplesResult, state_.StatusLine.c_str());
    showing_ = false;
    EnableButtons();
  }

  void EnableButtons() {
    for (const ButtonOf& button : Buttons) {
      EnableWindow(GetDlgItem(handle_, button.ControlId), SamplesButtonEnabled(button.Button, state_));
    }
  }

  HINSTANCE instance_;
  HWND handle_ = nullptr;
  HWND list_ = nullptr;
  SamplesWindowState state_;
  std::string cell_;
  bool showing_ = false;
};

}  // namespace

void SetUpSampleList(HWND list, const bool shown[SampleColumnCount], std::size_t rows) {
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
  HWND dialog = GetParent(list);
  int position = 0;
  int total = 0;
  int namePosition = -1;
  for (int column = 0; column < SampleColumnCount; ++column) {
    if (!shown[column]) {
      continue;
    }
    RECT units = {0, 0, ColumnUnits[column], 8};
    MapDialogRect(dialog, &units);
    LVCOLUMNA header = {};
    header.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    header.fmt =
        column == NameColumn || column == ChannelsColumn || column == RootKeyColumn ? LVCFMT_LEFT : LVCFMT_RIGHT;
    if (position == 0) {
      header.fmt = LVCFMT_LEFT;  // the first column is always left-aligned
    }
    header.pszText = const_cast<char*>(SampleColumnTitles[column]);
    header.cx = std::max(static_cast<int>(units.right), ListView_GetStringWidth(list, SampleColumnTitles[column]) + 12);
    total += header.cx;
    header.iSubItem = position;
    ListView_InsertColumn(list, position, &header);
    namePosition = column == NameColumn ? position : namePosition;
    ++position;
  }
  // Where the headings need more than the units give (another DPI or
  // font), the name column gives way, so that every column shows without a
  // horizontal scroll bar beside the vertical one.
  RECT area;
  GetClientRect(list, &area);
  const int room = area.right - GetSystemMetrics(SM_CXVSCROLL);
  if (namePosition >= 0 && total > room) {
    const int name = ListView_GetColumnWidth(list, namePosition);
    ListView_SetColumnWidth(list, namePosition, std::max(name - (total - room), name / 2));
  }
  ListView_SetItemCountEx(list, static_cast<int>(rows), LVSICF_NOSCROLL);
}

void FillSampleText(NMLVDISPINFOA& info, const bool shown[SampleColumnCount], const SampleInfo& sample,
                    std::size_t count, std::string& cell) {
  // The list's sub-item counts only the columns shown.
  int column = 0;
  for (int position = -1; column < SampleColumnCount; ++column) {
    position += shown[column] ? 1 : 0;
    if (shown[column] && position == info.item.iSubItem) {
      break;
    }
  }
  const std::size_t row = static_cast<std::size_t>(info.item.iItem);
  cell = column < SampleColumnCount ? SampleCellText(sample, row, count, column) : std::string();
  lstrcpynA(info.item.pszText, cell.c_str(), info.item.cchTextMax);
}

int SelectedRow(HWND list) { return ListView_GetNextItem(list, -1, LVNI_SELECTED); }

void SelectRow(HWND list, int row) {
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  if (row >= 0) {
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, row, FALSE);
  }
}

void ShowSamplesWindow(HINSTANCE instance, HWND owner, const std::string& bank) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  SamplesWindow window(instance, bank);
  window.Open(owner);
}

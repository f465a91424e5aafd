// The Samples window's two small dialogs: Properties of one sample, and the
// sample list of a SoundFont that Replace... takes one sample from.
#include "app/win32/samples_resource.h"
#include "app/win32/samples_window.h"

namespace {

std::string TextOf(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(control, &text[0], static_cast<int>(text.size()))));
  return text;
}

struct PropertiesRequest {
  const std::string* Title;
  std::uint32_t Frames;
  SampleChanges* Fields;
};

// The loop's edits take input only while "No loop" is clear.
void EnableLoopEdits(HWND dialog) {
  const bool looped = IsDlgButtonChecked(dialog, IDC_NoLoopCheck) != BST_CHECKED;
  for (int id : {IDC_LoopStartLabel, IDC_LoopStartEdit, IDC_LoopEndLabel, IDC_LoopEndEdit}) {
    EnableWindow(GetDlgItem(dialog, id), looped);
  }
}

INT_PTR CALLBACK PropertiesProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  PropertiesRequest* request = reinterpret_cast<PropertiesRequest*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (message == WM_INITDIALOG) {
    request = reinterpret_cast<PropertiesRequest*>(lParam);
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    const SampleChanges& fields = *request->Fields;
    SetWindowTextA(dialog, request->Title->c_str());
    SetDlgItemTextA(dialog, IDC_SampleNameEdit, fields.Name.c_str());
    SetDlgItemTextA(dialog, IDC_RootKeyEdit, fields.RootKey.c_str());
    SetDlgItemTextA(dialog, IDC_FineTuneEdit, fields.FineTune.c_str());
    CheckDlgButton(dialog, IDC_NoLoopCheck,
                   fields.LoopChange == SampleChanges::Loop::Off ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemTextA(dialog, IDC_LoopStartEdit, fields.LoopStart.c_str());
    SetDlgItemTextA(dialog, IDC_LoopEndEdit, fields.LoopEnd.c_str());
    const std::string frames = std::to_string(request->Frames) + " frames: 0 to " +
                               std::to_string(request->Frames == 0 ? 0 : request->Frames - 1);
    SetDlgItemTextA(dialog, IDC_FramesLabel, frames.c_str());
    SendDlgItemMessageA(dialog, IDC_SampleNameEdit, EM_LIMITTEXT, 64, 0);
    EnableLoopEdits(dialog);
    return TRUE;
  }
  if (message != WM_COMMAND || request == nullptr) {
    return FALSE;
  }
  switch (LOWORD(wParam)) {
    case IDC_NoLoopCheck:
      EnableLoopEdits(dialog);
      return TRUE;
    case IDOK: {
      SampleChanges& fields = *request->Fields;
      fields.SetName = fields.SetRootKey = fields.SetFineTune = true;
      fields.Name = TextOf(dialog, IDC_SampleNameEdit);
      fields.RootKey = TextOf(dialog, IDC_RootKeyEdit);
      fields.FineTune = TextOf(dialog, IDC_FineTuneEdit);
      fields.LoopChange = IsDlgButtonChecked(dialog, IDC_NoLoopCheck) == BST_CHECKED ? SampleChanges::Loop::Off
                                                                                     : SampleChanges::Loop::Set;
      fields.LoopStart = TextOf(dialog, IDC_LoopStartEdit);
      fields.LoopEnd = TextOf(dialog, IDC_LoopEndEdit);
      EndDialog(dialog, IDOK);
      return TRUE;
    }
    case IDCANCEL:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

// The SoundFont list shows what tells its samples apart.
const bool FontColumns[SampleColumnCount] = {true, true, true, true, true, true, true, true, false};

struct FontRequest {
  const std::string* Font;
  const std::vector<SampleInfo>* Samples;
  int Chosen;
  std::string Cell;
};

INT_PTR CALLBACK FontSampleProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  FontRequest* request = reinterpret_cast<FontRequest*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (message == WM_INITDIALOG) {
    request = reinterpret_cast<FontRequest*>(lParam);
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    SetWindowTextA(dialog, ("Choose a sample of " + *request->Font).c_str());
    HWND list = GetDlgItem(dialog, IDC_FontSampleList);
    SetUpSampleList(list, FontColumns, request->Samples->size());
    SelectRow(list, request->Samples->empty() ? -1 : 0);
    return TRUE;
  }
  if (request == nullptr) {
    return FALSE;
  }
  HWND list = GetDlgItem(dialog, IDC_FontSampleList);
  if (message == WM_NOTIFY) {
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->idFrom == IDC_FontSampleList && header->code == LVN_GETDISPINFOA) {
      FillSampleCell(*reinterpret_cast<NMLVDISPINFOA*>(lParam), FontColumns, *request->Samples, request->Cell);
      return TRUE;
    }
    if (header->idFrom == IDC_FontSampleList && header->code == NM_DBLCLK) {
      SendMessageA(dialog, WM_COMMAND, IDOK, 0);
      return TRUE;
    }
    return FALSE;
  }
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    request->Chosen = SelectedRow(list);
    EndDialog(dialog, LOWORD(wParam) == IDOK && request->Chosen >= 0 ? IDOK : IDCANCEL);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

bool ShowPropertiesDialog(HINSTANCE instance, HWND owner, const std::string& title, std::uint32_t frames,
                          SampleChanges& fields) {
  PropertiesRequest request = {&title, frames, &fields};
  return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SampleProperties), owner, &PropertiesProc,
                         reinterpret_cast<LPARAM>(&request)) == IDOK;
}

bool ShowFontSampleDialog(HINSTANCE instance, HWND owner, const std::string& font,
                          const std::vector<SampleInfo>& samples, int& chosen) {
  FontRequest request = {&font, &samples, -1, std::string()};
  if (DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_FontSamples), owner, &FontSampleProc,
                      reinterpret_cast<LPARAM>(&request)) != IDOK) {
    return false;
  }
  chosen = request.Chosen;
  return true;
}

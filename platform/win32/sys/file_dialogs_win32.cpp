// The full OPENFILENAMEA of Windows 2000 and later, so that XP shows its
// places bar; Windows 9x and NT 4 refuse that size and get the old one.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0500
#include <windows.h>
// after windows.h, which it needs
#include <cderr.h>
#include <commdlg.h>

#include <vector>

#include "platform/file_dialogs.h"

namespace {

// "a|b|c|d" as the dialog wants it: "a\0b\0c\0d\0\0".
std::vector<char> FilterList(const std::string& filter) {
  std::vector<char> list(filter.begin(), filter.end());
  for (char& c : list) {
    if (c == '|') {
      c = '\0';
    }
  }
  list.push_back('\0');
  list.push_back('\0');
  return list;
}

BOOL Show(FileDialogKind kind, OPENFILENAMEA& dialog) {
  return kind == FileDialogKind::Open ? GetOpenFileNameA(&dialog) : GetSaveFileNameA(&dialog);
}

}  // namespace

bool AskFileName(const FileDialogRequest& request, std::string& chosen) {
  std::vector<char> filter = FilterList(request.Filter);
  char file[MAX_PATH * 4] = {};
  request.FileName.copy(file, sizeof file - 1);
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = reinterpret_cast<HWND>(request.Owner);
  dialog.lpstrFilter = filter.data();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file;
  dialog.nMaxFile = sizeof file;
  dialog.lpstrDefExt = request.DefaultExtension.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  dialog.Flags |= request.Kind == FileDialogKind::Open ? OFN_FILEMUSTEXIST : OFN_OVERWRITEPROMPT;
  BOOL ok = Show(request.Kind, dialog);
  if (!ok && CommDlgExtendedError() == CDERR_STRUCTSIZE) {
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ok = Show(request.Kind, dialog);
  }
  if (!ok) {
    return false;
  }
  chosen = file;
  return true;
}

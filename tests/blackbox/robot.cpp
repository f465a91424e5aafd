#include "tests/blackbox/robot.h"

// after windows.h, which it needs
#include <commctrl.h>

#include <algorithm>

namespace {

struct Search {
  DWORD ProcessId;
  std::vector<HWND> Found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM data) {
  Search* search = reinterpret_cast<Search*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->ProcessId && IsWindowVisible(window)) {
    search->Found.push_back(window);
  }
  return TRUE;
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

}  // namespace

std::string OwnDirectory() {
  char path[MAX_PATH + 1] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir = path;
  return dir.substr(0, dir.find_last_of('\\') + 1);
}

Robot::~Robot() {
  if (process_.hProcess != nullptr) {
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.hProcess, 99);
      WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
}

bool Robot::Start(const std::string& exe, const std::string& arguments) {
  std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
  const std::string dir = exe.substr(0, exe.find_last_of('\\'));
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  return CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &startup,
                        &process_) != 0;
}

std::vector<HWND> Robot::VisibleWindows() {
  Search search{process_.dwProcessId, {}};
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
  for (HWND window : search.Found) {
    const std::string title = Title(window);
    if (std::find(seen_.begin(), seen_.end(), title) == seen_.end()) {
      seen_.push_back(title);
    }
  }
  return search.Found;
}

HWND Robot::WaitForMessageBox(DWORD timeoutMs) {
  for (DWORD waited = 0; waited <= timeoutMs; waited += 20) {
    for (HWND window : VisibleWindows()) {
      if (ClassOf(window) == "#32770") {
        return window;
      }
    }
    if (WaitForSingleObject(process_.hProcess, 20) == WAIT_OBJECT_0) {
      return nullptr;
    }
  }
  return nullptr;
}

HWND Robot::WaitForWindow(const std::string& title, DWORD timeoutMs) {
  for (DWORD waited = 0; waited <= timeoutMs; waited += 20) {
    for (HWND window : VisibleWindows()) {
      if (Title(window) == title && ClassOf(window) != "#32770") {
        return window;
      }
    }
    if (WaitForSingleObject(process_.hProcess, 20) == WAIT_OBJECT_0) {
      return nullptr;
    }
  }
  return nullptr;
}

HWND Robot::WaitForDialog(const std::string& titleStart, DWORD timeoutMs) {
  for (DWORD waited = 0; waited <= timeoutMs; waited += 20) {
    for (HWND window : VisibleWindows()) {
      if (Title(window).rfind(titleStart, 0) == 0 && ClassOf(window) == "#32770") {
        return window;
      }
    }
    if (WaitForSingleObject(process_.hProcess, 20) == WAIT_OBJECT_0) {
      return nullptr;
    }
  }
  return nullptr;
}

bool Robot::WaitForExit(DWORD timeoutMs, DWORD& exitCode) {
  for (DWORD waited = 0; waited <= timeoutMs; waited += 20) {
    VisibleWindows();
    if (WaitForSingleObject(process_.hProcess, 20) == WAIT_OBJECT_0) {
      return GetExitCodeProcess(process_.hProcess, &exitCode) != 0;
    }
  }
  return false;
}

std::vector<std::string> Robot::TabCaptions(HWND tabControl) {
  std::vector<std::string> captions;
  const int count = static_cast<int>(SendMessageA(tabControl, TCM_GETITEMCOUNT, 0, 0));
  const SIZE_T textSize = 256;
  char* remote = static_cast<char*>(
      VirtualAllocEx(process_.hProcess, nullptr, sizeof(TCITEMA) + textSize, MEM_COMMIT, PAGE_READWRITE));
  if (remote == nullptr) {
    return captions;
  }
  for (int item = 0; item < count; ++item) {
    TCITEMA tab = {};
    tab.mask = TCIF_TEXT;
    tab.pszText = remote + sizeof(TCITEMA);
    tab.cchTextMax = static_cast<int>(textSize);
    char text[textSize] = {};
    WriteProcessMemory(process_.hProcess, remote, &tab, sizeof tab, nullptr);
    WriteProcessMemory(process_.hProcess, remote + sizeof(TCITEMA), text, textSize, nullptr);
    SendMessageA(tabControl, TCM_GETITEMA, item, reinterpret_cast<LPARAM>(remote));
    ReadProcessMemory(process_.hProcess, remote + sizeof(TCITEMA), text, textSize - 1, nullptr);
    captions.push_back(text);
  }
  VirtualFreeEx(process_.hProcess, remote, 0, MEM_RELEASE);
  return captions;
}

std::vector<std::string> Robot::ListRow(HWND list, int row, int columns) {
  std::vector<std::string> cells;
  const SIZE_T textSize = 256;
  char* remote = static_cast<char*>(
      VirtualAllocEx(process_.hProcess, nullptr, sizeof(LVITEMA) + textSize, MEM_COMMIT, PAGE_READWRITE));
  if (remote == nullptr) {
    return cells;
  }
  for (int column = 0; column < columns; ++column) {
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = remote + sizeof(LVITEMA);
    item.cchTextMax = static_cast<int>(textSize);
    char text[textSize] = {};
    WriteProcessMemory(process_.hProcess, remote, &item, sizeof item, nullptr);
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote));
    ReadProcessMemory(process_.hProcess, remote + sizeof(LVITEMA), text, textSize - 1, nullptr);
    cells.push_back(text);
  }
  VirtualFreeEx(process_.hProcess, remote, 0, MEM_RELEASE);
  return cells;
}

namespace {

struct ControlSearch {
  std::string ClassName;
  std::string Caption;
  HWND Found;
};

// A caption as the user reads it: "&&" is an ampersand, a single one marks the access key.
std::string Shown(const std::string& caption) {
  std::string text;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) {
      ++i;
    }
    text += caption[i];
  }
  return text;
}

BOOL CALLBACK MatchControl(HWND control, LPARAM data) {
  ControlSearch* search = reinterpret_cast<ControlSearch*>(data);
  if (ClassOf(control) == search->ClassName && Shown(Robot::Title(control)) == search->Caption) {
    search->Found = control;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND Robot::FindControl(HWND window, const std::string& className, const std::string& caption) {
  ControlSearch search{className, caption, nullptr};
  EnumChildWindows(window, &MatchControl, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

std::string Robot::MessageText(HWND box) {
  char text[512] = {};
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  return text;
}

std::string Robot::Title(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

void Robot::Press(HWND box, int buttonId) { PostMessageA(GetDlgItem(box, buttonId), BM_CLICK, 0, 0); }

ConsoleProcess StartConsole(const std::string& exe, const std::string& arguments) {
  ConsoleProcess console;
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&console.Output, &writeEnd, &inherit, 0)) {
    return console;
  }
  SetHandleInformation(console.Output, HANDLE_FLAG_INHERIT, 0);
  std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
  const std::string dir = exe.substr(0, exe.find_last_of('\\'));
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nullptr;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  console.Started = CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                   dir.c_str(), &startup, &console.Process) != 0;
  CloseHandle(writeEnd);
  return console;
}

ConsoleRun FinishConsole(ConsoleProcess& console, DWORD timeoutMs) {
  ConsoleRun run;
  run.Started = console.Started;
  if (!console.Started) {
    CloseHandle(console.Output);
    return run;
  }
  // Read until the program has ended and the pipe is empty, not until the
  // pipe's end: under Wine the console host started for the program may hold
  // the inherited write end after the program ended, and a read that waits
  // for the end then waits for it.
  const DWORD started = GetTickCount();
  char buffer[4096];
  bool ended = false;
  for (;;) {
    DWORD available = 0;
    DWORD got = 0;
    if (!PeekNamedPipe(console.Output, nullptr, 0, nullptr, &available, nullptr)) {
      break;  // every writer closed it and it is empty
    }
    if (available > 0) {
      if (!ReadFile(console.Output, buffer, std::min<DWORD>(available, sizeof buffer), &got, nullptr)) {
        break;
      }
      run.Out.append(buffer, got);
    } else if (ended) {
      break;  // what it wrote before it ended is in the pipe already
    } else if (WaitForSingleObject(console.Process.hProcess, 10) == WAIT_OBJECT_0) {
      ended = true;
    } else if (GetTickCount() - started > timeoutMs) {
      TerminateProcess(console.Process.hProcess, 99);
      WaitForSingleObject(console.Process.hProcess, 5000);
      ended = true;
    }
  }
  CloseHandle(console.Output);
  WaitForSingleObject(console.Process.hProcess, 5000);
  GetExitCodeProcess(console.Process.hProcess, &run.ExitCode);
  CloseHandle(console.Process.hThread);
  CloseHandle(console.Process.hProcess);
  // Console output uses CR LF; tests compare plain lines.
  std::string plain;
  for (char c : run.Out) {
    if (c != '\r') {
      plain += c;
    }
  }
  run.Out = plain;
  return run;
}

ConsoleRun RunConsole(const std::string& exe, const std::string& arguments, DWORD timeoutMs) {
  ConsoleProcess console = StartConsole(exe, arguments);
  return FinishConsole(console, timeoutMs);
}

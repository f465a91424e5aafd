// The robot of the i686 stage: runs inside a 32-bit Wine prefix, drives the
// real 32-bit tovaro.exe as a user would and checks the i686 start-up code.
// One line per check; exit code 0 when every check passed.
//   stage_robot clean EXE       "-clean" restores and ends without a window
//   stage_robot window EXE      driver and backup present: the window opens at once
//   stage_robot questions EXE   no driver: the backup question, then the driver question
//   stage_robot reboot EXE      a setting that needs a restart, Ok, then Yes to the reboot
//                               question (what the program calls then, a relay log tells)
//   stage_robot runtime ARGS    argument splitting, static objects, std::string,
//                               msvcrt's printf and a DLL's start-up and unloading
//   stage_robot version         prints the Windows version the program is told
//   stage_robot setup SETUP DIR SHOTS  the setup without /S: checks and photographs
//                               (SHOTS-page.bmp) the welcome, folder and finish pages,
//                               keeps "Run Tovaro", clears "Show the help", then Finish
//   stage_robot running PROGRAM ARGS NOTE EXE  the silent setup or uninstaller
//                               refuses with exit code 2 and NOTE in TEMP while the
//                               lock of the driver files is held, and while the window is open
//   stage_robot exec PROGRAM ARGS  runs PROGRAM with these arguments and ends with its
//                               exit code
// Last of all, every run writes "stage_robot exit code N" to standard error.
// Wine's server kills a program's Unix process one second after the program
// has ended; under qemu on a loaded machine that exit can take longer, and
// the loader then reports SIGKILL whatever the program returned. The line
// keeps the real exit code, and exec gives the stage that of any program.
#include <windows.h>

// after windows.h, which it needs
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/blackbox/robot.h"

namespace {

const char* const Title = "Tovaro 2.0.1";
const char* const BackupQuestion = "Cannot create backup of original driver files. Start the program anyway?";
const char* const DriverQuestion = "YMF7x4 driver is not found. Start the program anyway?";
const char* const RebootQuestion = "To apply changes you should reboot your computer. Reboot now?";
// Each wait ends on what it waits for (a window, a message box, the program's
// end) and gives up only after this long: no wait took more than 4.4 s, under
// qemu or beside five builds.
const DWORD Patience = 300000;

int Failures = 0;

bool Check(bool ok, const std::string& what) {
  std::printf("%s %s\n", ok ? "ok:  " : "FAIL:", what.c_str());
  Failures += ok ? 0 : 1;
  return ok;
}

// How long each wait took, one line each ("waited 2.1 s: ..."): the stage
// reports the longest against the patience.
class Stopwatch {
 public:
  void Report(const std::string& what) {
    std::printf("waited %.1f s: %s\n", (GetTickCount() - start_) / 1000.0, what.c_str());
    start_ = GetTickCount();
  }

 private:
  DWORD start_ = GetTickCount();
};

std::string Seen(const Robot& robot) {
  std::string titles;
  for (const std::string& title : robot.SeenWindows()) {
    titles += (titles.empty() ? "\"" : ", \"") + title + "\"";
  }
  return titles.empty() ? "none" : titles;
}

void EndsWithoutWindow(Robot& robot, const char* what) {
  DWORD exitCode = 1234;
  Stopwatch waiting;
  Check(robot.WaitForExit(Patience, exitCode), std::string(what) + ": the program ends");
  waiting.Report(std::string(what) + ": the program ends");
  Check(exitCode == 0, std::string(what) + ": exit code 0");
  for (const std::string& title : robot.SeenWindows()) {
    Check(title != Title, std::string(what) + ": no main window");
  }
}

void Clean(const std::string& exe) {
  Robot robot;
  Check(robot.Start(exe, "-clean"), "tovaro.exe -clean starts");
  EndsWithoutWindow(robot, "-clean");
  Check(robot.SeenWindows().empty(), "-clean shows no window (seen: " + Seen(robot) + ")");
}

void Window(const std::string& exe) {
  Robot robot;
  Check(robot.Start(exe, ""), "tovaro.exe starts");
  Stopwatch waiting;
  HWND window = robot.WaitForWindow(Title, Patience);
  waiting.Report("the window opens");
  Check(window != nullptr, std::string("the window \"") + Title + "\" opens");
  Check(robot.SeenWindows() == std::vector<std::string>{Title}, "no question before it (seen: " + Seen(robot) + ")");
  if (window != nullptr) {
    PostMessageA(window, WM_CLOSE, 0, 0);
  }
  DWORD exitCode = 1234;
  Check(robot.WaitForExit(Patience, exitCode) && exitCode == 0, "closing the window ends it with exit code 0");
  waiting.Report("the program ends after WM_CLOSE");
}

// Waits for a message box other than the one answered before that shows the
// expected text (a box can be visible a moment before its text is set).
HWND WaitForBox(Robot& robot, HWND previous, const char* expected, std::string& shown) {
  const DWORD start = GetTickCount();
  for (DWORD waited = 0; waited <= Patience; waited = GetTickCount() - start) {
    HWND box = robot.WaitForMessageBox(Patience - waited);
    if (box == nullptr) {
      return nullptr;
    }
    if (box != previous) {
      shown = Robot::MessageText(box);
      // The question is the first paragraph; a reason may follow it.
      if (shown.substr(0, shown.find("\n\n")) == expected) {
        return box;
      }
    }
    Sleep(20);
  }
  return nullptr;
}

// WaitForBox, timed; shown is the text of the last box seen ("none").
HWND NextBox(Robot& robot, HWND previous, const char* expected, std::string& shown) {
  shown = "none";
  Stopwatch waiting;
  const HWND box = WaitForBox(robot, previous, expected, shown);
  waiting.Report(std::string("the message box \"") + expected + "\"");
  return box;
}

void Questions(const std::string& exe) {
  Robot robot;
  Check(robot.Start(exe, ""), "tovaro.exe starts");
  std::string shown;
  HWND first = NextBox(robot, nullptr, BackupQuestion, shown);
  Check(first != nullptr && Robot::Title(first) == "Error", "first question: \"" + shown + "\"");
  if (first == nullptr) {
    return;
  }
  Robot::Press(first, IDYES);
  HWND second = NextBox(robot, first, DriverQuestion, shown);
  Check(second != nullptr, "after Yes: \"" + shown + "\"");
  if (second != nullptr) {
    Robot::Press(second, IDNO);
  }
  EndsWithoutWindow(robot, "after No");
}

// The high quality mode takes effect only after a restart: changing it and
// pressing Ok is how a user meets the reboot question.
void Reboot(const std::string& exe) {
  Robot robot;
  Check(robot.Start(exe, ""), "tovaro.exe starts");
  Stopwatch waiting;
  HWND window = robot.WaitForWindow(Title, Patience);
  waiting.Report("the window opens");
  Check(window != nullptr, std::string("the window \"") + Title + "\" opens");
  if (window == nullptr) {
    return;
  }
  // Through the tabs until the checkbox's page shows. TCM_SETCURFOCUS, unlike
  // TCM_SETCURSEL, notifies the window as a click on the tab does. The tab
  // captions are out of reach here: under qemu-user Wine reads and writes
  // another process's memory at the wrong host addresses.
  HWND tabs = Robot::FindControl(window, "SysTabControl32", "");
  HWND hiFi = Robot::FindControl(window, "Button", "High quality 44.1 kHz Mode");
  const int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
  for (int tab = 0; tab < count && hiFi != nullptr && !IsWindowVisible(hiFi); ++tab) {
    SendMessageA(tabs, TCM_SETCURFOCUS, tab, 0);
  }
  Check(hiFi != nullptr && IsWindowVisible(hiFi), "a tab shows \"High quality 44.1 kHz Mode\"");
  HWND ok = Robot::FindControl(window, "Button", "Ok");
  if (hiFi == nullptr || ok == nullptr) {
    return;
  }
  const LRESULT was = SendMessageA(hiFi, BM_GETCHECK, 0, 0);
  SendMessageA(hiFi, BM_CLICK, 0, 0);
  Check(SendMessageA(hiFi, BM_GETCHECK, 0, 0) != was, "a click changes it");
  // Posted: Ok runs the question's modal loop before it returns.
  PostMessageA(ok, BM_CLICK, 0, 0);
  std::string shown;
  HWND box = NextBox(robot, nullptr, RebootQuestion, shown);
  Check(box != nullptr && Robot::Title(box) == "Information", "Ok asks: \"" + shown + "\"");
  if (box == nullptr) {
    return;
  }
  Robot::Press(box, IDYES);
  DWORD exitCode = 1234;
  Stopwatch ending;
  Check(robot.WaitForExit(Patience, exitCode) && exitCode == 0, "after Yes the program ends with exit code 0");
  ending.Report("the program ends after Yes");
}

// --- the setup ---------------------------------------------------------------------

const char* const SetupTitle = "Tovaro 2.0.1 Setup";

std::string TextOf(HWND control) {
  char text[4096] = {};
  SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

BOOL CALLBACK AddText(HWND control, LPARAM all) {
  if (IsWindowVisible(control)) {
    *reinterpret_cast<std::string*>(all) += TextOf(control) + "\n";
  }
  return TRUE;
}

// The text of every visible control of the setup's window, one per line.
std::string PageText(HWND window) {
  std::string all;
  EnumChildWindows(window, &AddText, reinterpret_cast<LPARAM>(&all));
  return all;
}

// Waits until the setup's window shows a page with this text.
bool WaitForPage(HWND window, const char* part, const char* page) {
  Stopwatch waiting;
  const DWORD start = GetTickCount();
  bool shown = false;
  while (!(shown = PageText(window).find(part) != std::string::npos) && GetTickCount() - start < Patience) {
    Sleep(50);
  }
  waiting.Report(std::string("the setup's ") + page + " page");
  return Check(shown, std::string("the ") + page + " page shows \"" + part + "\"");
}

// The window as it is on the screen, as a 24-bit BMP.
void Photograph(HWND window, const std::string& path) {
  Sleep(300);  // the page's last paint
  RECT r;
  GetWindowRect(window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top, stride = (w * 3 + 3) & ~3;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(sizeof file + sizeof info.bmiHeader + stride * h), 0, 0,
                           sizeof file + sizeof info.bmiHeader};
  if (FILE* out = std::fopen(path.c_str(), "wb")) {
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
    std::fwrite(bits, stride, h, out);
    std::fclose(out);
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

void Next(HWND window) { PostMessageA(GetDlgItem(window, IDOK), BM_CLICK, 0, 0); }

void Setup(const std::string& setup, const std::string& folder, const std::string& shots) {
  Robot robot;
  Check(robot.Start(setup, ""), "the setup starts");
  // A dialog, which Robot::WaitForWindow leaves to the message boxes.
  HWND window = nullptr;
  for (const DWORD start = GetTickCount(); window == nullptr && GetTickCount() - start < Patience; Sleep(50)) {
    window = FindWindowA("#32770", SetupTitle);
  }
  if (!Check(window != nullptr, std::string("the window \"") + SetupTitle + "\" opens") ||
      !WaitForPage(window, "Welcome to Tovaro 2.0.1", "welcome")) {
    return;
  }
  const std::string welcome = PageText(window);
  for (const char* part : {"YMF7x4", "Administrators group", "turn System Restore off"}) {
    Check(welcome.find(part) != std::string::npos, std::string("it says \"") + part + "\"");
  }
  Photograph(window, shots + "-welcome.bmp");
  Next(window);
  if (!WaitForPage(window, "cannot be changed", "folder")) {
    return;
  }
  HWND page = FindWindowExA(window, nullptr, "#32770", nullptr);
  HWND edit = GetDlgItem(page, 1019), browse = GetDlgItem(page, 1001);
  Check(TextOf(edit) == folder && (GetWindowLongA(edit, GWL_STYLE) & ES_READONLY) != 0 && !IsWindowEnabled(browse),
        "it shows " + TextOf(edit) + ", read-only, Browse disabled");
  Photograph(window, shots + "-folder.bmp");
  Next(window);
  if (!WaitForPage(window, "Show the help", "finish")) {
    return;
  }
  HWND run = Robot::FindControl(window, "Button", "Run Tovaro");
  HWND help = Robot::FindControl(window, "Button", "Show the help");
  Check(run != nullptr && SendMessageA(run, BM_GETCHECK, 0, 0) == BST_CHECKED && help != nullptr,
        "\"Run Tovaro\" is checked, \"Show the help\" is there");
  Photograph(window, shots + "-finish.bmp");
  SendMessageA(help, BM_CLICK, 0, 0);
  Next(window);
  DWORD exitCode = 1234;
  Check(robot.WaitForExit(Patience, exitCode) && exitCode == 0, "Finish ends the setup with exit code 0");
  HWND tovaro = nullptr;
  Stopwatch waiting;
  for (const DWORD start = GetTickCount(); tovaro == nullptr && GetTickCount() - start < Patience; Sleep(50)) {
    tovaro = FindWindowA("TMainForm", Title);
  }
  waiting.Report("Tovaro's window after Finish");
  if (Check(tovaro != nullptr, "\"Run Tovaro\" opened the window")) {
    PostMessageA(tovaro, WM_CLOSE, 0, 0);
    for (const DWORD start = GetTickCount(); IsWindow(tovaro) && GetTickCount() - start < Patience; Sleep(50)) {
    }
  }
}

// The silent setup or uninstaller; its exit code and the last line of the
// reason it left in TEMP (NOTE).
DWORD Silent(const std::string& program, const std::string& args, const std::string& name, std::string& reason) {
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof temp, temp);
  const std::string note = std::string(temp) + name;
  DeleteFileA(note.c_str());
  Robot robot;
  DWORD exitCode = 1234;
  if (!robot.Start(program, args) || !robot.WaitForExit(Patience, exitCode)) {
    return exitCode;
  }
  reason = "none";
  if (FILE* in = std::fopen(note.c_str(), "r")) {
    char line[1024];
    while (std::fgets(line, sizeof line, in) != nullptr) {
      reason = line;  // the reason is the last line
    }
    std::fclose(in);
  }
  reason.erase(reason.find_last_not_of("\r\n") + 1);
  return exitCode;
}

void Running(const std::string& program, const std::string& args, const std::string& note, const std::string& exe) {
  // The lock's name as the programs make it.
  const DWORD version = GetVersion();
  const bool nt5 = (version & 0x80000000u) == 0 && LOBYTE(LOWORD(version)) >= 5;
  HANDLE lock = CreateMutexA(nullptr, TRUE, nt5 ? "Global\\Tovaro.DriverFiles" : "Tovaro.DriverFiles");
  std::string reason;
  DWORD exitCode = Silent(program, args, note, reason);
  Check(
      lock != nullptr && exitCode == 2 && reason.find("is changing the driver files") != std::string::npos,
      "while the lock of the driver files is held, it ends with exit code " + std::to_string(exitCode) + ": " + reason);
  CloseHandle(lock);
  Robot tovaro;
  HWND window = tovaro.Start(exe, "") ? tovaro.WaitForWindow(Title, Patience) : nullptr;
  exitCode = Silent(program, args, note, reason);
  Check(window != nullptr && exitCode == 2 && reason.find("Tovaro is running") != std::string::npos,
        "while the window is open, it ends with exit code " + std::to_string(exitCode) + ": " + reason);
  if (window != nullptr) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    Check(tovaro.WaitForExit(Patience, exitCode), "the window closes");
  }
}

// Set by a static constructor; its destructor reports at exit.
struct StaticProbe {
  StaticProbe() : Constructed(true) {}
  ~StaticProbe() {
    if (Report) {
      std::printf("static destructors ran\n");
    }
  }
  bool Constructed;
  bool Report = false;
};
StaticProbe Probe;

bool StringsHold() {
  std::string text = "C:\\Program Files\\Nerulan\\Tovaro\\tovaro.exe";
  text += std::string(100, 'x');
  text.replace(0, 2, "D:");
  return text.find("Nerulan") == 17 && text.substr(text.find_last_of('\\') + 1, 10) == "tovaro.exe" &&
         text.compare(0, 3, "D:\\") == 0 && text.size() == 142 && std::to_string(4834000u) == "4834000";
}

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

void Runtime(int argc, char** argv) {
  Check(argc == 5 && std::strcmp(argv[2], "two words") == 0 && std::strcmp(argv[3], "a\"quote") == 0 &&
            std::strcmp(argv[4], "plain") == 0,
        "the command line splits into its arguments");
  Check(Probe.Constructed, "static constructors ran before main");
  Probe.Report = true;
  Check(StringsHold(), "std::string operations");
  char text[64];
  std::snprintf(text, sizeof text, "%I64d %08X %lu", static_cast<__int64>(-5000000000LL), 0xBEEFu, 4834000ul);
  Check(std::string(text) == "-5000000000 0000BEEF 4834000", std::string("msvcrt printf: ") + text);
  Check(Format("%.2f", 2422210 / 1048576.0) == "2.31", "msvcrt printf %.2f: " + Format("%.2f", 2422210 / 1048576.0));

  int state = 0;
  HMODULE probe = LoadLibraryA("stage_probe.dll");
  Check(probe != nullptr, "stage_probe.dll loads");
  if (probe == nullptr) {
    return;
  }
  typedef int(__cdecl * Watch)(int*);
  // Through void*: GetProcAddress's FARPROC has another calling convention.
  Watch watch = reinterpret_cast<Watch>(reinterpret_cast<void*>(GetProcAddress(probe, "ProbeWatch")));
  Check(watch != nullptr && watch(&state) == 1, "the DLL's static constructors ran when it loaded");
  FreeLibrary(probe);
  Check(state == 21, "unloading the DLL ran its atexit functions, then its static destructors (state " +
                         std::to_string(state) + ")");
}

// One argument as the C runtime splits a command line: quoted when it
// holds a blank or a quote, backslashes doubled only before a quote.
std::string Quoted(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) {
    return argument;
  }
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  return quoted.append(2 * backslashes, '\\') + "\"";
}

unsigned long Exec(int argc, char** argv) {
  std::string line;
  for (int i = 2; i < argc; ++i) {
    line += (i > 2 ? " " : "") + Quoted(argv[i]);
  }
  // The program writes where the robot writes.
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  HANDLE* const handles[] = {&startup.hStdInput, &startup.hStdOutput, &startup.hStdError};
  const DWORD which[] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
  for (int i = 0; i < 3; ++i) {
    DuplicateHandle(GetCurrentProcess(), GetStdHandle(which[i]), GetCurrentProcess(), handles[i], 0, TRUE,
                    DUPLICATE_SAME_ACCESS);
  }
  PROCESS_INFORMATION process = {};
  std::fflush(stdout);
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
    std::fprintf(stderr, "stage_robot: cannot start %s (error %lu)\n", line.c_str(), GetLastError());
    return 127;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "runtime") {
    Runtime(argc, argv);
  } else if (command == "version") {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    Check(GetVersionExA(&version) != 0, "GetVersionExA");
    // Windows 9x keeps the major and minor version in the high word of the build.
    std::printf("Windows %lu.%lu build %lu platform %lu\n", version.dwMajorVersion, version.dwMinorVersion,
                version.dwBuildNumber & 0xFFFF, version.dwPlatformId);
  } else if (argc == 3 && command == "clean") {
    Clean(argv[2]);
  } else if (argc == 3 && command == "window") {
    Window(argv[2]);
  } else if (argc == 3 && command == "questions") {
    Questions(argv[2]);
  } else if (argc == 3 && command == "reboot") {
    Reboot(argv[2]);
  } else if (argc == 5 && command == "setup") {
    Setup(argv[2], argv[3], argv[4]);
  } else if (argc == 6 && command == "running") {
    Running(argv[2], argv[3], argv[4], argv[5]);
  } else if (argc >= 3 && command == "exec") {
    const unsigned long code = Exec(argc, argv);
    std::fprintf(stderr, "stage_robot exit code %lu\n", code);
    return static_cast<int>(code);
  } else {
    std::fprintf(stderr,
                 "usage: stage_robot clean|window|questions|reboot EXE | runtime ARGS | version |\n"
                 "       setup SETUP DIR SHOTS | running PROGRAM ARGS NOTE EXE | exec PROGRAM ARGS\n");
    return 2;
  }
  std::fflush(stdout);
  const int code = Failures == 0 ? 0 : 1;
  std::fprintf(stderr, "stage_robot exit code %d\n", code);
  return code;
}

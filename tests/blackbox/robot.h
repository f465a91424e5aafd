// Drives the real tovaro.exe from outside, as a user would: starts it, finds
// its windows and message boxes, reads them and presses their buttons.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class Robot {
 public:
  Robot() = default;
  ~Robot();
  Robot(const Robot&) = delete;
  Robot& operator=(const Robot&) = delete;

  // Starts exe with the given arguments in its own directory.
  bool Start(const std::string& exe, const std::string& arguments);
  // Waits for a message box of the program; null when none came in time.
  HWND WaitForMessageBox(DWORD timeoutMs);
  // Waits for a visible top-level window of the program with this title.
  HWND WaitForWindow(const std::string& title, DWORD timeoutMs);
  // Waits for a visible dialog of the program whose title starts with this text.
  HWND WaitForDialog(const std::string& titleStart, DWORD timeoutMs);
  // Waits for the program to end; false when it is still running.
  bool WaitForExit(DWORD timeoutMs, DWORD& exitCode);
  // Titles of every visible top-level window the program has shown so far.
  const std::vector<std::string>& SeenWindows() const { return seen_; }
  // The captions of a tab control of the program, read through memory
  // lent in the program's own address space.
  std::vector<std::string> TabCaptions(HWND tabControl);
  // The texts of one row of a report list view, read the same way.
  std::vector<std::string> ListRow(HWND list, int row, int columns);

  static std::string MessageText(HWND box);
  // A control anywhere below window with this class and caption as shown
  // (without the ampersand of an access key); null when none.
  static HWND FindControl(HWND window, const std::string& className, const std::string& caption);
  static std::string Title(HWND window);
  static void Press(HWND box, int buttonId);

 private:
  std::vector<HWND> VisibleWindows();

  PROCESS_INFORMATION process_ = {};
  std::vector<std::string> seen_;
};

// Directory of the running test program, with a trailing backslash.
std::string OwnDirectory();

// What a console program printed and how it ended.
struct ConsoleRun {
  bool Started = false;
  DWORD ExitCode = 0xFFFFFFFF;
  std::string Out;  // standard output and standard error, in the order written
};

// A console program started with its output going into a pipe.
struct ConsoleProcess {
  bool Started = false;
  PROCESS_INFORMATION Process = {};
  HANDLE Output = nullptr;
};
// Starts a console program in its own directory.
ConsoleProcess StartConsole(const std::string& exe, const std::string& arguments);
// Collects what it prints until it ends (or is ended after timeoutMs).
ConsoleRun FinishConsole(ConsoleProcess& process, DWORD timeoutMs);
// Runs a console program in its own directory and collects its output.
ConsoleRun RunConsole(const std::string& exe, const std::string& arguments, DWORD timeoutMs);

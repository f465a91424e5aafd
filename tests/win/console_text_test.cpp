// What tovaroc's text turns into in a console window and in a file: the
// window shows its output code page (437 here, where ä is 84, not the E4 of
// code page 1252), a file keeps the ANSI bytes. A console is had as a
// program gets one from Explorer: this test program started again with a
// new console, where it reads back what the window shows.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "files/console_text.h"
#include "platform/testing/scratch.h"

namespace {

const char* const InNewConsole = "TOVARO_TEST_IN_NEW_CONSOLE";
// A path of the code page and how a console window shows it; under 1251
// (OEM 866, the run win.cp1251.ConsoleText) a C library that widens each
// byte, as Wine's does, would show Latin letters instead.
const struct {
  unsigned CodePage;
  const char* Path;
  const wchar_t* Shown;
} Paths[] = {
    {1252, "C:\\Kl\xE4nge\\m\xFCsik.yb0", L"C:\\Kl\u00E4nge\\m\u00FCsik.yb0"},
    {1251, "C:\\\xCC\xF3\xE7\xFB\xEA\xE0", L"C:\\\u041C\u0443\u0437\u044B\u043A\u0430"},
};

// Run by AConsoleShowsTheTextAndAFileKeepsItsBytes in a console of its own.
TEST(ConsoleText, InsideANewConsole) {
  if (std::getenv(InNewConsole) == nullptr) {
    GTEST_SKIP() << "started with a new console by AConsoleShowsTheTextAndAFileKeepsItsBytes";
  }
  const HANDLE screen = GetStdHandle(STD_OUTPUT_HANDLE);
  CONSOLE_SCREEN_BUFFER_INFO before = {};
  ASSERT_TRUE(GetConsoleScreenBufferInfo(screen, &before));
  for (const auto& path : Paths) {
    if (path.CodePage == GetACP()) {
      const std::string text = path.Path;
      WriteText(stdout, text);
      std::fflush(stdout);
      wchar_t shown[64] = {};
      DWORD read = 0;
      ASSERT_TRUE(
          ReadConsoleOutputCharacterW(screen, shown, static_cast<DWORD>(text.size()), before.dwCursorPosition, &read));
      EXPECT_EQ(std::wstring(shown, read), path.Shown);
      return;
    }
  }
  FAIL() << "no path for code page " << GetACP();
}

TEST(ConsoleText, AConsoleShowsTheTextAndAFileKeepsItsBytes) {
  const std::string dir = MakeScratchDir("console");
  ASSERT_FALSE(dir.empty());
  char exe[MAX_PATH] = {};
  ASSERT_NE(GetModuleFileNameA(nullptr, exe, MAX_PATH), 0u);
  // The window closes with the program: its report goes into a file.
  std::string command = "\"" + std::string(exe) +
                        "\" --gtest_filter=ConsoleText.InsideANewConsole --gtest_output=xml:" + dir + "inside.xml";
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  ASSERT_TRUE(SetEnvironmentVariableA(InNewConsole, "1"));
  const BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr,
                                      nullptr, &startup, &process);
  SetEnvironmentVariableA(InNewConsole, nullptr);
  ASSERT_TRUE(started);
  DWORD code = 1;
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  std::vector<std::uint8_t> report;
  ReadWholeFile(dir + "inside.xml", report);
  EXPECT_EQ(code, 0u) << std::string(report.begin(), report.end());

  std::FILE* file = std::fopen((dir + "out.txt").c_str(), "wb");
  ASSERT_NE(file, nullptr);
  WriteText(file, Paths[0].Path);
  std::fclose(file);
  std::vector<std::uint8_t> written;
  ASSERT_TRUE(ReadWholeFile(dir + "out.txt", written));
  EXPECT_EQ(std::string(written.begin(), written.end()), Paths[0].Path) << "the ANSI bytes, whatever the code page";
  RemoveTree(dir);
}

}  // namespace

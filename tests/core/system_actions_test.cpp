// The actions handed to Windows: the restart with its privilege, the
// driver's control panel and the help, through the recording doubles.
#include <gtest/gtest.h>

#include "app/startup.h"
#include "app/system_actions.h"
#include "platform/fake.h"
#include "tests/core/window_machine.h"

namespace {

TEST(RebootComputer, PrivilegeOnlyOnTheNtFamilyAndNoRestartWithoutIt) {
  const std::vector<std::string> enable = {"OpenProcessToken 0x28", "LookupPrivilegeValue SeShutdownPrivilege",
                                           "AdjustTokenPrivileges", "GetLastError", "CloseHandle"};
  auto then = [](std::vector<std::string> calls, const char* last) {
    calls.push_back(last);
    return calls;
  };
  const struct {
    const char* Name;
    std::uint32_t Platform;
    bool TokenOpens;
    std::uint32_t LastError;
    std::vector<std::string> Calls;
  } cases[] = {
      {"Windows 98", 1, true, 0, {"ExitWindowsEx 2 0"}},
      {"XP with the privilege", 2, true, 0, then(enable, "ExitWindowsEx 2 0")},
      {"XP without the privilege", 2, true, 1300, enable},
      {"XP, token not opened", 2, false, 0, {"OpenProcessToken 0x28"}},
  };
  for (const auto& c : cases) {
    FakeReset();
    Fake().Version = WindowsVersion{c.Platform, c.Platform == 2 ? 5u : 4u, c.Platform == 2 ? 1u : 10u};
    Fake().TokenOpens = c.TokenOpens;
    Fake().LastErrorAfterAdjust = c.LastError;
    RebootComputer();
    EXPECT_EQ(Fake().RestartCalls, c.Calls) << c.Name;
  }
  FakeReset();
}

TEST(ShellActions, HelpBesideTheProgramAndTheAppletInTheSystemDirectory) {
  SimulatedSystem sim;
  StartMachine(sim, MachineSpec());
  ASSERT_FALSE(Env.IsVxD);
  ASSERT_EQ(ExeDir, sim.Where().ProgramDir);
  const WindowRef owner = 0x77;
  OpenHelp(owner);
  OpenDriverControlPanel(owner);
  ASSERT_EQ(Fake().ShellCalls.size(), 2u);
  const struct {
    const char* Verb;
    std::string File;
  } expected[] = {
      {"open", sim.Where().ProgramDir + "Help\\index.html"},
      {"cplopen", sim.Where().SystemDir + "\\DS1.cpl"},
  };
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(Fake().ShellCalls[i].Owner, owner);
    EXPECT_EQ(Fake().ShellCalls[i].Verb, expected[i].Verb);
    EXPECT_EQ(Fake().ShellCalls[i].File, expected[i].File);
    EXPECT_EQ(Fake().ShellCalls[i].ShowCommand, 5) << "SW_SHOW";
  }
}

}  // namespace

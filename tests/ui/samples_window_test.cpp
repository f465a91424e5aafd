// The Samples window in this process over the main window, with the
// recording converter and file dialogs: its modal loops are driven from a
// thread timer, one step per dialog as each comes up.
#include <windows.h>
// after windows.h, which they need
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <memory>

#include "app/win32/main_form.h"
#include "app/win32/resource.h"
#include "app/win32/samples_resource.h"
#include "platform/fake.h"
#include "platform/fake_converter.h"
#include "platform/testing/scratch.h"
#include "tests/core/window_machine.h"

namespace {

// One step: what to do in the enabled dialog of this thread that holds the control.
struct Step {
  int ControlId;
  std::function<void(HWND)> Act;
};
std::deque<Step> Steps;
int Ticks = 0;

struct DialogSearch {
  int ControlId;
  HWND Found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM data) {
  DialogSearch* search = reinterpret_cast<DialogSearch*>(data);
  if (IsWindowVisible(window) && IsWindowEnabled(window) && GetDlgItem(window, search->ControlId) != nullptr) {
    search->Found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CancelDialog(HWND window, LPARAM) {
  if (IsWindowVisible(window) && GetDlgItem(window, IDCANCEL) != nullptr) {
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
  }
  return TRUE;
}

// Runs inside whichever modal loop is running; a step that opens another
// dialog is re-entered from that dialog's loop.
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (++Ticks > 400) {  // 20 s: whatever is still open is cancelled, so the test ends
    EnumThreadWindows(GetCurrentThreadId(), &CancelDialog, 0);
    return;
  }
  if (Steps.empty()) {
    return;
  }
  DialogSearch search = {Steps.front().ControlId, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), &MatchDialog, reinterpret_cast<LPARAM>(&search));
  if (search.Found != nullptr) {
    const Step step = Steps.front();
    Steps.pop_front();
    step.Act(search.Found);
  }
}

void Press(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

TEST(SamplesWindowUi, ReplaceFromAWavAndASoundFontsSampleList) {
  SimulatedSystem sim;
  StartMachine(sim, MachineSpec());
  FakeConverterReset();
  const std::string bank = AddUserBank(sim, "mine.yb0");
  const std::string font = sim.Root() + "font.sf2";
  const std::string wav = sim.Root() + "new.wav";
  ASSERT_TRUE(WriteWholeFile(font, Bytes{1}) && WriteWholeFile(wav, Bytes{1}));
  const SampleInfo piano{"Piano", 0, 1, 60, 0, false, 22050, 0, 0};
  FakeConverter().Samples[bank] = {piano, piano};
  FakeConverter().Samples[font] = {piano, piano, piano};
  auto form = std::make_unique<TMainForm>();
  ASSERT_TRUE(form->Create(GetModuleHandleA(nullptr)));
  ShowWindow(form->Handle(), SW_SHOW);
  form->SelectPage(EditorTab);
  ASSERT_TRUE(IsWindowVisible(form->Control(IDC_SamplesBtn)));
  SetWindowTextA(form->Control(IDC_UserBankEdit), bank.c_str());

  LRESULT rows = 0;
  LRESULT fontRows = 0;
  Steps = {
      {IDC_SampleList,
       [&](HWND samples) {
         HWND list = GetDlgItem(samples, IDC_SampleList);
         rows = ListView_GetItemCount(list);
         ListView_SetItemState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
         Fake().FileDialogAnswers = {font};
         Press(samples, IDC_ReplaceBtn);
       }},
      {IDC_FontSampleList,
       [&](HWND choose) {
         HWND list = GetDlgItem(choose, IDC_FontSampleList);
         fontRows = ListView_GetItemCount(list);
         ListView_SetItemState(list, 2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
         Press(choose, IDOK);
       }},
      {IDC_SampleList,
       [&](HWND samples) {
         Fake().FileDialogAnswers = {wav};
         Press(samples, IDC_ReplaceBtn);
         Press(samples, IDC_SamplesCloseBtn);
       }},
  };
  Ticks = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, &Tick);
  SendMessageA(form->Control(IDC_SamplesBtn), BM_CLICK, 0, 0);
  KillTimer(nullptr, timer);

  EXPECT_TRUE(Steps.empty()) << Steps.size() << " steps did not run";
  EXPECT_EQ(rows, 2);
  EXPECT_EQ(fontRows, 3);
  const std::vector<std::string>& calls = FakeConverter().Calls;
  for (const std::string& call :
       {"ReplaceSample " + bank + " 1 " + font + " 2", "ReplaceSample " + bank + " 1 " + wav + " -1"}) {
    EXPECT_NE(std::find(calls.begin(), calls.end(), call), calls.end()) << call;
  }
  EXPECT_TRUE(Fake().Shown.empty());
  form.reset();

  FakeConverter().SampleTools = false;
  form = std::make_unique<TMainForm>();
  ASSERT_TRUE(form->Create(GetModuleHandleA(nullptr)));
  EXPECT_FALSE(GetWindowLongPtrA(form->Control(IDC_SamplesBtn), GWL_STYLE) & WS_VISIBLE)
      << "an older a10.dll: no Samples button";
  form.reset();
  FakeConverterReset();
}

}  // namespace

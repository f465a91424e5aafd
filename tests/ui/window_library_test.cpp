// The window library in this process with the recording test doubles: the
// main window opens, and a message box it would show is recorded instead.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/startup.h"
#include "app/win32/main_form.h"
#include "platform/dialogs.h"
#include "platform/fake.h"

namespace {

TEST(WindowLibrary, MainWindowRunsOnTheTestDoubles) {
  FakeReset();
  ProductTitle = "Tovaro under test";
  TMainForm form;
  ASSERT_TRUE(form.Create(GetModuleHandleA(nullptr)));
  char title[64] = {};
  GetWindowTextA(form.Handle(), title, sizeof title);
  EXPECT_STREQ(title, "Tovaro under test");

  const WindowRef owner = reinterpret_cast<WindowRef>(form.Handle());
  EXPECT_EQ(ShowMessage(owner, "Cannot set XG Bank Mode", "Error", MsgOk | MsgIconError), AnswerOk);
  ASSERT_EQ(Fake().Shown.size(), 1u);
  EXPECT_EQ(Fake().Shown[0].Owner, owner);
  DestroyWindow(form.Handle());
  FakeReset();
}

}  // namespace

// The window as the portable commands see it: it counts refreshes and
// closings, and names a fixed window as the owner of boxes and dialogs.
#pragma once

#include "app/main_commands.h"

constexpr WindowRef Active = 0x42;

class RecordingWindow : public MainWindowPort {
 public:
  void RefreshWindow() override { ++Refreshes; }
  WindowRef ActiveWindow() override { return Active; }
  WindowRef ApplicationWindow() override { return 0x43; }
  void Close() override { ++Closes; }
  int Refreshes = 0;
  int Closes = 0;
};

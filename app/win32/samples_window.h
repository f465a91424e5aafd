// The Samples window: the sample list of the bank being edited and its
// buttons, laid out in samples_window.rc. What it shows and what its
// buttons do come from SamplesCommands; this code moves values between
// those and the controls.
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/samples_commands.h"

// Shows the window for the bank, modal to `owner`, until it is closed. A
// bank that cannot be listed is reported and the window does not open.
void ShowSamplesWindow(HINSTANCE instance, HWND owner, const std::string& bank);

// The two small dialogs the window asks (samples_dialogs.cpp).
bool ShowPropertiesDialog(HINSTANCE instance, HWND owner, const std::string& title, std::uint32_t frames,
                          SampleChanges& fields);
bool ShowFontSampleDialog(HINSTANCE instance, HWND owner, const std::string& font,
                          const std::vector<SampleInfo>& samples, int& chosen);

// A report list of samples with owner data (comctl32 4.70): its columns are
// those of SampleColumnTitles whose flag in `shown` is set, each wide
// enough for its heading, and `rows` rows; it answers LVN_GETDISPINFO with
// FillSampleCell.
void SetUpSampleList(HWND list, const bool shown[SampleColumnCount], std::size_t rows);
// Answers one LVN_GETDISPINFO of such a list with the row of `samples` (a
// std::vector or SampleRows) it asks for; `cell` keeps the text alive.
void FillSampleText(NMLVDISPINFOA& info, const bool shown[SampleColumnCount], const SampleInfo& sample,
                    std::size_t count, std::string& cell);
template <typename Rows>
void FillSampleCell(NMLVDISPINFOA& info, const bool shown[SampleColumnCount], const Rows& samples, std::string& cell) {
  if ((info.item.mask & LVIF_TEXT) != 0 && info.item.iItem >= 0 &&
      static_cast<std::size_t>(info.item.iItem) < samples.size()) {
    FillSampleText(info, shown, samples[static_cast<std::size_t>(info.item.iItem)], samples.size(), cell);
  }
}
// The list's selected row, -1 for none.
int SelectedRow(HWND list);
void SelectRow(HWND list, int row);

// What the main window shows: every control that RefreshWindow fills,
// decided from the driver environment, the Windows version and the
// application state. The window only moves these values into its controls.
#pragma once

#include <cstdint>
#include <string>

#include "ymf/driver_settings.h"

// The pages, in the order of their tabs.
enum MainPage : int { AboutTab, BankTab, EditorTab, CPanelTab, AudioTab, LoadTab, VoicesTab };
constexpr int MainPageCount = 7;
extern const char* const MainPageCaptions[MainPageCount];

// The five bank-mode radio buttons, in page order; None when none is checked.
enum class BankRadio { None, Default, Disabled, Extended, Dance, User };

// Items of the drop-down lists, by position.
extern const char* const FeaturesComboItems[FeaturesListCount];
extern const char* const SPDIFInComboItems[SpdifInListCount];
constexpr int EditorTypeCount = 3;
extern const char* const EditorTypeComboItems[EditorTypeCount];  // "Extended", "Dance", "User"
// The radio button of each bank kind, by kind (BankNone ... BankUser).
extern const BankRadio RadioOfKind[];

// The maker's lines of the About page.
extern const char* const MakerNotice;
extern const char* const MakerWebPage;
extern const char* const MakerEmail;

struct MainView {
  std::string Title;       // the window's and the application's title; NameLabel
  std::string InfoText;    // InfoLabel: notice, "Web: ...", "E-mail: ..."
  std::string FoundText;   // FoundLabel
  std::string DriverText;  // DriverLabel
  std::string BankText;    // BankLabel
  // The set an installed user bank came from (the backup folder's record);
  // the User Bank path fields start with it. Empty for any other bank.
  std::string UserBankSetPath;
  bool PageVisible[MainPageCount] = {};
  // Without a driver nothing below is written into the controls: they keep
  // their state (radios and check boxes clear, lists without a selection,
  // counts at 0).
  bool FillControls = false;
  bool SysResVisible = false;  // LabelSysRes
  bool ExtendedEnabled = false;
  bool DanceEnabled = false;
  // BankSetsLabel: why Extended or Dance is greyed; empty (the label hidden)
  // when both banks are in the Banks folder.
  std::string MissingBankSetsText;
  BankRadio CheckedRadio = BankRadio::None;
  int EditorTypeSelection = -1;  // EditorTypeCombo position
  // Per row of DriverSettingTable: a check box's state (0 or 1), a list's
  // position (NoSelection when the stored index has no entry) or a spin
  // position (0 to 64), and whether the control takes input.
  std::int32_t SettingShown[DriverSettingCount] = {};
  bool SettingEnabled[DriverSettingCount] = {};
};

// Why Extended and Dance are greyed when detection found no full Program
// Files path, so that there is no Banks folder to look in.
extern const char* const NoBanksFolderLine;

// The view of the current Env, Windows version, ProductTitle and locale.
MainView ComputeMainView();

// A bank size in megabytes of 1048576 bytes, rounded to two decimals, with
// the given decimal separator: 2424832 bytes gives "2.31".
std::string MegabyteText(std::int32_t bytes, const std::string& separator);
// The spin position that shows a stored voice limit: its low 16 bits as a
// signed number, brought into the spin range 0 to 64.
std::int32_t VoiceSpinPosition(std::int32_t stored);

// A drop-down list's selected position when the list shows no selection.
constexpr std::int32_t NoSelection = -1;
// The list position that shows a stored index: the index itself when the
// list has an entry for it, NoSelection otherwise. A list without a
// selection stands for the stored index, which Apply writes back unchanged.
std::int32_t ListSelectionFor(std::uint8_t stored, std::int32_t listCount);

#include "app/main_view.h"

#include <algorithm>
#include <cstring>

#include "app/startup.h"
#include "app/voice_counts.h"
#include "platform/system.h"
#include "ymf/bank_kinds.h"
#include "ymf/change_rules.h"
#include "ymf/environment.h"
#include "ymf/settings_apply.h"
#include "ymf/user_bank_record.h"

const char* const MainPageCaptions[MainPageCount] = {
    "About", "XG Bank Modes", "XG Bank Editor", "Control Panel", "Audio Settings", "Load Modules", "Voices",
};

const char* const FeaturesComboItems[FeaturesListCount] = {
    "Full features set (4channel, S/PDIF IN, Docking)",
    "2-channel Notebook",
    "4-channel Card",
    "2-channel Notebook with S/PDIF IN",
    "4-channel Card",
    "2-channel Digital Interface Card",
    "2-channel Digital Interface Card with S/PDIF IN",
};

const char* const SPDIFInComboItems[SpdifInListCount] = {
    "S/PDIF In Mode 0",
    "S/PDIF In Mode 1",
    "S/PDIF In Mode 2",
    "S/PDIF In Mode 3",
};

const char* const EditorTypeComboItems[EditorTypeCount] = {BankKinds[BankExtended].Title, BankKinds[BankDance].Title,
                                                           BankKinds[BankUser].Title};
const BankRadio RadioOfKind[BankKindCount] = {BankRadio::Disabled, BankRadio::Default, BankRadio::Extended,
                                              BankRadio::Dance, BankRadio::User};

const char* const MakerNotice = "Freeware by Nerulan, with no warranty.";
const char* const MakerWebPage = "http://www.nerulan.example/tovaro/";
const char* const MakerEmail = "tovaro@nerulan.example";

const char* const NoBanksFolderLine =
    "Extended and Dance are greyed: no Banks folder, as the registry names no usable Program Files folder.";

namespace {

constexpr int EditorTypeUser = 2;

std::string BankLine(std::int32_t kind, std::int32_t size, const std::string& path, const std::string& separator) {
  if (kind == BankNone) {
    return "Bank file is not found";
  }
  const BankKindRow* row = BankKindRowOf(kind);
  if (row == nullptr) {
    return "Unknown bank";
  }
  return std::string(row->Name) + " " + MegabyteText(size, separator) + " MB\n" + path;
}

// An unknown bank checks User: whatever it is, it is not one of ours.
BankRadio RadioFor(std::int32_t kind) {
  const BankKindRow* row = BankKindRowOf(kind);
  return row == nullptr ? BankRadio::User : RadioOfKind[row->Kind];
}

std::int32_t ShownSetting(const DriverSetting& setting, const DriverSettings& settings) {
  const std::int32_t stored = setting.Get(settings);
  switch (setting.Kind) {
    case SettingKind::Index:
      return ListSelectionFor(static_cast<std::uint8_t>(stored), setting.Maximum + 1);
    case SettingKind::VoiceLimit:
      return VoiceSpinPosition(stored);
    case SettingKind::Flag:
      break;
  }
  return stored;
}

// What detection looked for: the bank file of each set, extended.yb0 and
// dance.yb0, in the Banks folder.
std::string MissingBankSetsText() {
  if (Env.ExtendedBankPath.empty()) {
    return NoBanksFolderLine;
  }
  if (!Env.ExtendedBankExists && !Env.DanceBankExists) {
    return "Extended and Dance are greyed: no extended.yb0 or dance.yb0 in the Banks folder.";
  }
  if (!Env.ExtendedBankExists) {
    return "Extended is greyed: no extended.yb0 in the Banks folder.";
  }
  return Env.DanceBankExists ? std::string() : "Dance is greyed: no dance.yb0 in the Banks folder.";
}

}  // namespace

std::string MegabyteText(std::int32_t bytes, const std::string& separator) {
  // Hundredths of a megabyte, rounded half away from zero, in integers so
  // that every C runtime gives the same digits.
  const std::int64_t scaled = std::int64_t{bytes} * 100;
  const std::int64_t magnitude = (scaled < 0 ? -scaled : scaled) + 524288;
  const std::int64_t hundredths = magnitude / 1048576;
  const std::string cents = std::to_string(hundredths % 100);
  return (scaled < 0 && hundredths != 0 ? "-" : "") + std::to_string(hundredths / 100) + separator +
         (cents.size() < 2 ? "0" : "") + cents;
}

std::int32_t ListSelectionFor(std::uint8_t stored, std::int32_t listCount) {
  return stored < listCount ? static_cast<std::int32_t>(stored) : NoSelection;
}

std::int32_t VoiceSpinPosition(std::int32_t stored) {
  return std::clamp<std::int32_t>(VoicePositionOf(stored), VoiceCountMin, VoiceCountMax);
}

MainView ComputeMainView() {
  MainView view;
  view.Title = ProductTitle;
  view.InfoText = std::string(MakerNotice) + "\nWeb: " + MakerWebPage + "\nE-mail: " + MakerEmail;
  for (bool& visible : view.PageVisible) {
    visible = true;
  }
  if (!Env.DriverFound) {
    // The label says it without the full stop.
    view.FoundText.assign(DriverNotFoundLine, std::strlen(DriverNotFoundLine) - 1);
    view.PageVisible[BankTab] = false;
    view.PageVisible[CPanelTab] = false;
    view.PageVisible[AudioTab] = false;
    return view;
  }
  view.FillControls = true;
  view.FoundText = "Found";
  view.DriverText =
      std::string(Env.IsVxD ? "VxD" : "WDM") + " driver version " + Env.Profile.VersionText + "\n" + Env.DriverPath;
  view.BankText = BankLine(Env.BankKind, Env.BankSize, Env.BankPath, DecimalSeparator());
  view.UserBankSetPath = FindInstalledUserBank().SetPath;
  if (!view.UserBankSetPath.empty()) {
    view.BankText += "\nfrom " + view.UserBankSetPath;
  }
  view.PageVisible[BankTab] = Env.Profile.ProfileKnown;
  // Windows XP and Server 2003 (5.1, 5.2) have System Restore; the two
  // numbers are tested separately, so 6.0 does not count.
  const WindowsVersion version = GetWindowsVersion();
  view.SysResVisible = version.Major >= 5 && version.Minor >= 1;
  view.ExtendedEnabled = Env.ExtendedBankExists;
  view.DanceEnabled = Env.DanceBankExists;
  view.MissingBankSetsText = MissingBankSetsText();
  view.CheckedRadio = RadioFor(Env.BankKind);
  view.EditorTypeSelection = EditorTypeUser;
  for (std::size_t row = 0; row < DriverSettingCount; ++row) {
    view.SettingShown[row] = ShownSetting(DriverSettingTable[row], Env.Settings);
    view.SettingEnabled[row] = SettingChangeable(DriverSettingTable[row]);
  }
  return view;
}

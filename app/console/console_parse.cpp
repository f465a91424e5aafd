// The checks of the driver commands' arguments, made before start-up: a
// usage error writes nothing.
#include "app/ascii_text.h"
#include "app/console/console_groups.h"
#include "app/voice_counts.h"
#include "ymf/bank_kinds.h"
#include "ymf/environment.h"

namespace {

// A panel setting or load module, by its value name in any letter case.
const DriverSetting* FindSettable(const std::string& name) {
  for (const DriverSetting& setting : DriverSettingTable) {
    if (setting.Group != SettingGroup::VoiceLimits && AsciiLower(setting.Name) == AsciiLower(name)) {
      return &setting;
    }
  }
  return nullptr;
}

}  // namespace

int CheckNoArguments(CommandArguments& arguments, std::string& usage, ConsoleStream&) {
  if (arguments.Rest.empty()) {
    return ExitSuccess;
  }
  usage = "'" + arguments.Command + "' takes no arguments";
  return ExitUsage;
}

int CheckBankArguments(CommandArguments& arguments, std::string& usage, ConsoleStream&) {
  const std::vector<std::string>& rest = arguments.Rest;
  const std::string mode = rest.empty() ? "" : AsciiLower(rest[0]);
  if (rest.size() == 1) {
    for (const BankKindRow& row : BankKinds) {
      if (row.Mode != ModeUser && mode == row.Word) {
        arguments.BankMode = row.Mode;
        return ExitSuccess;
      }
    }
  }
  if (mode == BankKinds[BankUser].Word && rest.size() == 2 && !rest[1].empty()) {
    arguments.BankMode = ModeUser;
    arguments.Path = rest[1];
    return ExitSuccess;
  }
  usage = rest.empty() ? "no bank mode given" : "unknown bank mode or arguments";
  return ExitUsage;
}

int CheckSetArguments(CommandArguments& arguments, std::string& usage, ConsoleStream& err) {
  if (arguments.Rest.empty()) {
    usage = "no NAME=VALUE given";
    return ExitUsage;
  }
  for (const std::string& arg : arguments.Rest) {
    const std::size_t equals = arg.find('=');
    const DriverSetting* setting = equals == std::string::npos ? nullptr : FindSettable(arg.substr(0, equals));
    if (setting == nullptr) {
      err << "unknown setting '" << arg.substr(0, equals) << "'; see 'tovaroc set --help'\n";
      return ExitUsage;
    }
    const std::string text = arg.substr(equals + 1);
    std::int32_t value = 0;
    if (!TextToInteger(text, value) || value < 0 || value > setting->Maximum) {
      err << setting->Name << ": '" << text << "' is not a value from 0 to " << setting->Maximum << "\n";
      return ExitUsage;
    }
    arguments.Assignments.push_back(Assignment{setting, value});
  }
  return ExitSuccess;
}

int CheckVoicesArguments(CommandArguments& arguments, std::string& usage, ConsoleStream& err) {
  if (arguments.Rest.size() != 4) {
    usage = "four voice counts are needed";
    return ExitUsage;
  }
  const char* names[] = {"MIDI", "Wave Out", "Direct Sound", "Direct Sound 3D"};
  for (int i = 0; i < 4; ++i) {
    const std::string& text = arguments.Rest[i];
    std::int32_t value = 0;
    if (!TextToInteger(text, value)) {
      err << InvalidIntegerMessage(text) << "\n";
      return ExitUsage;
    }
    if (value < VoiceCountMin || value > VoiceCountMax) {
      err << names[i] << ": " << value << " is outside 0 to 64\n";
      return ExitUsage;
    }
    arguments.Voices[i] = value;
  }
  return ExitSuccess;
}

int CheckRestoreArguments(CommandArguments& arguments, std::string& usage, ConsoleStream&) {
  arguments.Settings = arguments.Rest.size() == 1 && arguments.Rest[0] == "--settings";
  if (arguments.Rest.empty() || arguments.Settings) {
    return ExitSuccess;
  }
  usage = "unknown arguments";
  return ExitUsage;
}

int CheckVerifyArguments(CommandArguments& arguments, std::string& usage, ConsoleStream&) {
  const std::vector<std::string>& rest = arguments.Rest;
  if (rest.size() == 2 && rest[0] == "--bank" && !rest[1].empty()) {
    arguments.Path = rest[1];
  } else if (!rest.empty()) {
    usage = "unknown arguments";
    return ExitUsage;
  }
  return ExitSuccess;
}

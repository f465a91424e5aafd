#include "ymf/driver_settings.h"

#include "ymf/environment.h"

namespace {

// Reads a REG_BINARY value of exactly `width` bytes (1 or 4) as a
// little-endian number. The type and size are queried before any data is
// read, so a value of another shape is never read at all.
bool ReadExact(MachineKey key, const std::string& name, std::uint32_t width, std::uint32_t& number) {
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  if (!MachineKeyQuery(key, name, type, size) || type != RegTypeBinary || size != width) {
    return false;
  }
  std::uint8_t data[4] = {0, 0, 0, 0};
  size = width;
  if (!MachineKeyRead(key, name, type, data, size) || type != RegTypeBinary || size != width) {
    return false;
  }
  number = 0;
  for (std::uint32_t i = 0; i < width; ++i) {
    number |= static_cast<std::uint32_t>(data[i]) << (8 * i);
  }
  return true;
}

void WriteExact(MachineKey key, const std::string& name, std::uint32_t width, std::uint32_t number) {
  std::uint8_t data[4];
  for (std::uint32_t i = 0; i < 4; ++i) {
    data[i] = static_cast<std::uint8_t>(number >> (8 * i));
  }
  MachineKeyWrite(key, name, RegTypeBinary, data, width);
}

}  // namespace

bool OpenDriverKey(std::uint32_t access, MachineKey& key) {
  if (Env.DriverRegKey.empty()) {
    return false;
  }
  return MachineKeyOpen(Env.DriverRegKey, access, key);
}

bool ReadBoolean1(MachineKey key, const std::string& name) {
  std::uint32_t number = 0;
  return ReadExact(key, name, 1, number) && number == 1;
}

bool ReadBoolean4(MachineKey key, const std::string& name) {
  std::uint32_t number = 0;
  return ReadExact(key, name, 4, number) && number == 1;
}

std::uint8_t ReadNumber1(MachineKey key, const std::string& name) {
  std::uint32_t number = 0;
  return ReadExact(key, name, 1, number) ? static_cast<std::uint8_t>(number) : 0;
}

std::int32_t ReadNumber4(MachineKey key, const std::string& name) {
  std::uint32_t number = 0;
  return ReadExact(key, name, 4, number) ? static_cast<std::int32_t>(number) : 0;
}

void WriteBoolean1(MachineKey key, const std::string& name, bool value) { WriteExact(key, name, 1, value ? 1 : 0); }

void WriteBoolean4(MachineKey key, const std::string& name, bool value) { WriteExact(key, name, 4, value ? 1 : 0); }

void WriteNumber1(MachineKey key, const std::string& name, std::uint8_t value) { WriteExact(key, name, 1, value); }

void WriteNumber4(MachineKey key, const std::string& name, std::int32_t value) {
  WriteExact(key, name, 4, static_cast<std::uint32_t>(value));
}

void ReadDriverSettings() {
  MachineKey key = 0;
  if (!OpenDriverKey(KeyAccessRead, key)) {
    return;
  }
  const bool vxd = Env.IsVxD;
  const auto boolean = [&](const char* name) { return vxd ? ReadBoolean1(key, name) : ReadBoolean4(key, name); };
  // The WDM driver keeps the indices as 32-bit numbers; only the low byte is used.
  const auto index = [&](const char* name) {
    return vxd ? ReadNumber1(key, name) : static_cast<std::uint8_t>(ReadNumber4(key, name));
  };
  DriverSettings& s = Env.Settings;
  s.ShowWaveout = boolean("ShowWaveout");
  s.ShowMisc = boolean("ShowMisc");
  s.SRC = boolean("SRC");
  s.LoadUIF = index("LoadUIF");
  s.LoadC3D = boolean("LoadC3D");
  s.LoadGamePort = boolean("LoadGamePort");
  s.LoadLegacy = boolean("LoadLegacy");
  s.LoadSpdif = boolean("LoadSpdif");
  s.LoadSpdifIn = index("LoadSpdifIn");
  s.LoadVSVL = boolean("LoadVSVL");
  s.LoadPower = boolean("LoadPower");
  s.MaxModVoices = ReadNumber4(key, "MaxModVoices");
  s.MaxWodVoices = ReadNumber4(key, "MaxWodVoices");
  s.MaxDSVoices = ReadNumber4(key, "MaxDSVoices");
  s.Max3DVoices = ReadNumber4(key, "Max3DVoices");
  MachineKeyClose(key);
}

void WritePanelSettings(bool showWaveout, bool showMisc, bool src, std::uint8_t featureSet, std::uint8_t spdifInMode) {
  MachineKey key = 0;
  if (!OpenDriverKey(KeyAccessWrite, key)) {
    return;
  }
  const auto flag = Env.IsVxD ? WriteBoolean1 : WriteBoolean4;
  const auto index = [&](const char* name, std::uint8_t value) {
    if (Env.IsVxD) {
      WriteNumber1(key, name, value);
    } else {
      WriteNumber4(key, name, value);
    }
  };
  flag(key, "ShowWaveout", showWaveout);
  flag(key, "ShowMisc", showMisc);
  flag(key, "SRC", src);
  index("LoadUIF", featureSet);
  index("LoadSpdifIn", spdifInMode);
  MachineKeyClose(key);
}

void WriteLoadModules(bool directSound3D, bool gamePort, bool legacy, bool spdifOut, bool xgSynthesizer, bool power) {
  MachineKey key = 0;
  if (!OpenDriverKey(KeyAccessWrite, key)) {
    return;
  }
  const auto write = Env.IsVxD ? WriteBoolean1 : WriteBoolean4;
  write(key, "LoadC3D", directSound3D);
  write(key, "LoadGamePort", gamePort);
  write(key, "LoadLegacy", legacy);
  write(key, "LoadSpdif", spdifOut);
  write(key, "LoadVSVL", xgSynthesizer);
  write(key, "LoadPower", power);
  MachineKeyClose(key);
}

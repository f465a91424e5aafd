#include "app/editor_texts.h"

const char* const CopyBankFailed = "Cannot make copy of bank";
const char* const ExtractFailed = "Cannot extract WAV sample(s) from the selected bank";
const char* const BuildFailed = "Cannot make a bank from WAV samples";
const char* const DeleteWavFailed = "Cannot delete WAV samples";
const char* const SignatureFailed = "Cannot set a bank signature";

std::uint8_t SignatureOfType(const std::string& typeText) {
  if (typeText == "Extended") {
    return 0x00;
  }
  return typeText == "Dance" ? 0x01 : 0x02;
}

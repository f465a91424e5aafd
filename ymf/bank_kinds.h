// The bank kinds, once: what the signature byte of a bank file stands for,
// the mode that installs each kind, and the words the window and tovaroc
// name it by. Every translation between kind, mode, signature and name
// looks it up here.
#pragma once

#include <cstdint>
#include <string>

#include "ymf/environment.h"

struct BankKindRow {
  std::int32_t Kind;  // BankNone ... BankUser, the row's index
  std::int32_t Mode;  // the bank mode that installs it (ModeUser: any user bank)
  // Byte 0 of its bank file; NoSignature for "no bank".
  std::int32_t Signature;
  const char* Word;   // tovaroc's word for the mode: "extended"
  const char* Title;  // the signature list's entry and the result lines: "Extended"
  const char* Name;   // what is installed: "Extended XG bank"
};

constexpr std::int32_t NoSignature = -1;

inline constexpr BankKindRow BankKinds[] = {
    {BankNone, ModeDisabled, NoSignature, "disabled", "Disabled", "no bank"},
    {BankDefault, ModeDefault, 0xAA, "default", "Default", "Default bank"},
    {BankExtended, ModeExtended, 0x00, "extended", "Extended", "Extended XG bank"},
    {BankDance, ModeDance, 0x01, "dance", "Dance", "Dance bank"},
    {BankUser, ModeUser, 0x02, "user", "User", "User bank"},
};
constexpr std::int32_t BankKindCount = sizeof BankKinds / sizeof BankKinds[0];

// A signature byte as the texts show it: "0x02".
inline std::string SignatureText(std::int32_t signature) {
  const char* const digits = "0123456789ABCDEF";
  return std::string("0x") + digits[(signature >> 4) & 15] + digits[signature & 15];
}

// The row of a kind; null for BankUnknown or any value outside the table.
inline const BankKindRow* BankKindRowOf(std::int32_t kind) {
  return kind >= 0 && kind < BankKindCount ? &BankKinds[kind] : nullptr;
}

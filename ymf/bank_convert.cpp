#include "ymf/bank_convert.h"

#include "files/path_parts.h"
#include "platform/converter.h"
#include "ymf/bank_mode.h"
#include "ymf/bank_workspace.h"
#include "ymf/protected_files.h"

bool ExtractBank(const std::string& bankPath) {
  return !IsProtectedFolder(DirectoryPart(bankPath)) && ConverterDeconstruct(bankPath) == 0;
}

bool BuildBank(const std::string& bankPath) {
  // The converter replaces the bank and the size table is written in place:
  // neither may be a live file, an original or a link to one.
  if (IsProtectedFile(bankPath) || IsProtectedFile(BankTablePath(bankPath, 3)) ||
      IsProtectedFolder(DirectoryPart(bankPath))) {
    return false;
  }
  if (ConverterConstruct(bankPath) != 0) {
    return false;
  }
  WriteSizeTable(bankPath);
  return SetBankSignature(bankPath, BuiltBankSignature);
}

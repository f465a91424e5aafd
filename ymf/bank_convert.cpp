#include "ymf/bank_convert.h"

#include "files/path_parts.h"
#include "platform/converter.h"
#include "ymf/bank_mode.h"
#include "ymf/bank_workspace.h"
#include "ymf/operation_failure.h"
#include "ymf/protected_files.h"

bool ExtractBank(const std::string& bankPath) {
  if (IsProtectedFolder(DirectoryPart(bankPath))) {
    return FailOn(FailureKind::ProtectedFolder, bankPath);
  }
  return ConverterDeconstruct(bankPath) == 0 || FailOn(FailureKind::ConverterFailed, bankPath, ConverterProblem());
}

bool BuildBank(const std::string& bankPath) {
  // The converter replaces the bank and the size table is written in place:
  // neither may be a live file, an original or a link to one.
  for (const std::string& written : {bankPath, BankTablePath(bankPath, 3)}) {
    if (IsProtectedFile(written)) {
      return FailOn(FailureKind::Protected, written);
    }
  }
  if (IsProtectedFolder(DirectoryPart(bankPath))) {
    return FailOn(FailureKind::ProtectedFolder, bankPath);
  }
  if (ConverterConstruct(bankPath) != 0) {
    return FailOn(FailureKind::ConverterFailed, bankPath, ConverterProblem());
  }
  WriteSizeTable(bankPath);
  return SetBankSignature(bankPath, BuiltBankSignature);
}

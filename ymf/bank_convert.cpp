#include "ymf/bank_convert.h"

#include "platform/converter.h"
#include "ymf/bank_workspace.h"

bool ExtractBank(const std::string& bankPath) { return ConverterDeconstruct(bankPath) == 0; }

bool BuildBank(const std::string& bankPath) {
  if (ConverterConstruct(bankPath) != 0) {
    return false;
  }
  WriteSizeTable(bankPath);
  return SetBankSignature(bankPath, BuiltBankSignature);
}

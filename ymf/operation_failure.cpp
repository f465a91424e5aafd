#include "ymf/operation_failure.h"

namespace {

OperationFailure& Record() {
  static OperationFailure record;
  return record;
}

}  // namespace

const char* const RestoreHint = "'tovaroc restore' (or 'tovaro.exe -clean') brings back the originals.";

const OperationFailure& LastFailure() { return Record(); }

bool Fail(FailureKind kind, const std::string& text, bool filesChanged) {
  OperationFailure& record = Record();
  if (record.Kind == FailureKind::None) {
    record.Kind = kind;
    record.Text = text;
  }
  record.FilesChanged = record.FilesChanged || filesChanged;
  return false;
}

void ClearFailure() { Record() = OperationFailure(); }

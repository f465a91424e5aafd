#include "ymf/operation_failure.h"

namespace {

OperationFailure& Record() {
  static OperationFailure record;
  return record;
}

}  // namespace

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

bool FailOn(FailureKind kind, const std::string& file, const std::string& text) {
  if (Record().Kind == FailureKind::None) {
    Record().File = file;
  }
  return Fail(kind, text);
}

void ClearFailure() { Record() = OperationFailure(); }

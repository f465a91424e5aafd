#include "platform/dialogs.h"
#include "platform/fake.h"

int ShowMessage(WindowRef owner, const std::string& text, const std::string& title, std::uint32_t style) {
  Fake().Shown.push_back(ShownMessage{owner, text, title, style});
  if (Fake().Answers.empty()) {
    return (style & MsgYesNo) != 0 ? AnswerNo : AnswerOk;
  }
  const int answer = Fake().Answers.front();
  Fake().Answers.pop_front();
  return answer;
}

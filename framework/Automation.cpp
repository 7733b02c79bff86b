#include "framework/Automation.h"

namespace Automation {
namespace {
THooks gHooks;
}  // namespace

const THooks& Hooks() { return gHooks; }

THooks SetHooks(const THooks& Value) {
  THooks previous = gHooks;
  gHooks = Value;
  return previous;
}

}  // namespace Automation

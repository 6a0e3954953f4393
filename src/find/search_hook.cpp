#include "find/search_hook.h"

namespace {
unsigned long callbacksRun = 0;  // the main loop's thread only
}  // namespace

void noteFindCallback() {
  ++callbacksRun;
}

unsigned long findCallbacksRun() {
  return callbacksRun;
}

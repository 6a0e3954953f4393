// How often a search's timer, idle call or event has run, process-wide: a search stopped with
// its dialog must not add to it, which tests watch for.
#pragma once

void noteFindCallback();
unsigned long findCallbacksRun();

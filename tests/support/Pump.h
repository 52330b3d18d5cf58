// Waiting in tests: pump this thread's messages until a condition holds or time runs out.
#pragma once

#include "Platform.h"

#include <functional>

// Pumps and checks until cond() is true; false when timeoutMs passed first.
bool PumpUntil(const std::function<bool()>& cond, DWORD timeoutMs = 5000);
// Dispatches whatever is queued now, without waiting.
void PumpPending();

// Running tests against the simulated card: this process (and every program it starts)
// uses quendasim.dll with a private state file, so a test run never touches the state a user
// of scripts/run works with.
#pragma once

#include "Platform.h"

#include <string>

constexpr const char* kTestStateFile = "quendasim-test-state.bin";

// Selects the simulated card with a state file for this process and its children; the next
// mixer call binds to it.
void UseSimulatedCard(const char* stateFile = kTestStateFile);
// Returns the card to its first-run state (the card's own reset, as quendasim-ctl does).
bool ResetSimulatedCard();

struct CtlResult {
    DWORD exitCode = DWORD(-1);
    std::string output; // standard output and error
};
// Runs quendasim-ctl.exe with the arguments and waits for it. A non-empty stateFile runs it
// against that state file instead of the tests' one.
CtlResult RunCtl(const std::string& arguments, const std::string& stateFile = std::string());

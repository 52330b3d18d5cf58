// Running "Quenda Mixer.exe" as a user would, from a test: start it with arguments, answer
// the message boxes it shows, and wait for it to end.
#pragma once

#include "Platform.h"

#include <string>
#include <vector>

struct ProgramRun {
    bool started = false;
    bool ended = false;
    DWORD exitCode = DWORD(-1);
    std::vector<std::string> boxes; // texts of the message boxes it showed, each answered OK
};

// Starts the program in the test's folder and waits up to timeoutMs for it to end.
ProgramRun RunProgram(const std::string& arguments, DWORD timeoutMs = 60000);

// Holds a value of the environment for the life of the object, then puts the old one back.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value);
    ~ScopedEnvironment();

private:
    std::string m_name;
    std::string m_old;
    bool m_had = false;
};

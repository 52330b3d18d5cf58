// Temporary preset files for the preset tests: written as bytes, opened as text streams.
#pragma once

#include <cstdio>
#include <string>

class TempPreset {
public:
    TempPreset();
    ~TempPreset();
    const std::string& Path() const { return m_path; }
    void WriteBytes(const std::string& bytes) const;
    std::string ReadBytes() const;
    // Opens the file the way the program does: "r" or "w", text mode.
    FILE* Open(const char* mode) const { return std::fopen(m_path.c_str(), mode); }

private:
    std::string m_path;
};

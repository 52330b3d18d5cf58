// Opening a preset file for reading, for whoever loads one (the command line, the main
// window's Load). The settings operations take the open stream; the caller owns it.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

struct PresetFileCloser {
    void operator()(std::FILE* stream) const { std::fclose(stream); }
};
using PresetStream = std::unique_ptr<std::FILE, PresetFileCloser>;

// Opens the preset for reading in text mode, or gives null. Only a file on disk is opened: a
// device name such as "AUX", "COM1" or "NUL", a pipe or any other kind of handle is refused
// like a file that cannot be opened, since reading from it may wait forever.
PresetStream OpenPresetForReading(const std::string& path);

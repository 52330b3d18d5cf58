// Opening a preset file, for whoever loads or saves one (the command line, the main window's
// Load and Save, the hand-over between instances, the commands for scripts). The settings
// operations take the open stream; the caller owns it. Presets are opened by their wide names,
// so a name outside the ANSI code page works as any other.
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
PresetStream OpenPresetForReading(const std::wstring& path);
// Creates (or empties) the preset for writing in text mode, or gives null; as for reading,
// only a file on disk: a device may block on write or swallow the preset.
PresetStream OpenPresetForWriting(const std::wstring& path);

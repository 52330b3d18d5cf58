#include "Platform.h"

#include "PresetFile.h"
#include "UniqueHandle.h"

#include <fcntl.h>
#include <io.h>

#include <utility>

namespace {

// The handle as a text stream, when it is a file on disk; the stream then owns the handle.
PresetStream StreamOfDiskFile(CKernelHandle file, int flags, const char* mode) {
    if (!file) return PresetStream();
    // The kind of what was opened decides, not the name: "COM1", "\\.\AUX" or a link to a
    // device all open as something other than a disk file.
    if (::GetFileType(file.Get()) != FILE_TYPE_DISK) return PresetStream();
    const int descriptor = ::_open_osfhandle(reinterpret_cast<intptr_t>(file.Get()), flags);
    if (descriptor == -1) return PresetStream();
    // From here the descriptor owns the handle, and the stream the descriptor.
    file.Detach();
    std::FILE* stream = ::_fdopen(descriptor, mode);
    if (!stream) ::_close(descriptor);
    return PresetStream(stream);
}

} // namespace

PresetStream OpenPresetForReading(const std::wstring& path) {
    // Opened as the runtime's "r" opens it, so the handle can become the stream itself.
    return StreamOfDiskFile(
        CKernelHandle(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)),
        _O_RDONLY | _O_TEXT, "r");
}

PresetStream OpenPresetForWriting(const std::wstring& path) {
    // As the runtime's "w": created when missing, emptied when there. A device is opened
    // without truncation first, so that its kind can be checked before anything is written.
    CKernelHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                     OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || ::GetFileType(file.Get()) != FILE_TYPE_DISK) return PresetStream();
    if (!::SetEndOfFile(file.Get())) return PresetStream();
    return StreamOfDiskFile(std::move(file), _O_WRONLY | _O_TEXT, "w");
}

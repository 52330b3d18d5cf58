#include "Platform.h"

#include "PresetFile.h"
#include "UniqueHandle.h"

#include <fcntl.h>
#include <io.h>

PresetStream OpenPresetForReading(const std::string& path) {
    // Opened as the runtime's "r" opens it, so the handle can become the stream itself.
    CKernelHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return PresetStream();
    // The kind of what was opened decides, not the name: "COM1", "\\.\AUX" or a link to a
    // device all open as something other than a disk file.
    if (::GetFileType(file.Get()) != FILE_TYPE_DISK) return PresetStream();
    const int descriptor =
        ::_open_osfhandle(reinterpret_cast<intptr_t>(file.Get()), _O_RDONLY | _O_TEXT);
    if (descriptor == -1) return PresetStream();
    // From here the descriptor owns the handle, and the stream the descriptor.
    file.Detach();
    std::FILE* stream = ::_fdopen(descriptor, "r");
    if (!stream) ::_close(descriptor);
    return PresetStream(stream);
}

#include "CommonDialogs.h"

#include "WideText.h"

#include <utility>

namespace {
FileDialogHook& FileHook() {
    static FileDialogHook hook;
    return hook;
}

ChooseColorHook& ColourHook() {
    static ChooseColorHook hook;
    return hook;
}

constexpr size_t kPathCapacity = 1024;

// The common dialogs' library is loaded when a dialog is first wanted, not with the program:
// most runs never show one, and loading it costs the start of the main window.
HMODULE DialogLibrary() {
    static const HMODULE library = ::LoadLibraryA("comdlg32.dll");
    return library;
}

template <typename Function> Function DialogFunction(const char* name) {
    const HMODULE library = DialogLibrary();
    return library ? reinterpret_cast<Function>(
                         reinterpret_cast<void*>(::GetProcAddress(library, name)))
                   : nullptr;
}

using FileDialogFunction = BOOL(WINAPI*)(OPENFILENAMEW*);
using ChooseColorFunction = BOOL(WINAPI*)(CHOOSECOLORA*);

// The wide dialogs, so that any file name can be chosen; filter and extension are ANSI texts.
OPENFILENAMEW BuildOpenFileName(const FileDialogRequest& request, std::wstring& filterBuffer,
                                std::wstring& extensionBuffer, std::wstring& fileBuffer,
                                bool open) {
    // The filter's parts are separated by '|' and ended by two: the platform wants NULs.
    filterBuffer = WidenAnsi(request.filter);
    for (wchar_t& c : filterBuffer)
        if (c == L'|') c = L'\0';
    filterBuffer.append(2, L'\0');
    extensionBuffer = WidenAnsi(request.defaultExt);
    fileBuffer = request.fileName.substr(0, kPathCapacity - 1);
    fileBuffer.resize(kPathCapacity, L'\0');

    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = request.owner;
    ofn.lpstrFilter = request.filter.empty() ? nullptr : filterBuffer.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = &fileBuffer[0];
    ofn.nMaxFile = static_cast<DWORD>(kPathCapacity);
    ofn.lpstrDefExt = extensionBuffer.empty() ? nullptr : extensionBuffer.c_str();
    ofn.Flags = request.flags | OFN_EXPLORER | (open ? OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST : 0);
    return ofn;
}
} // namespace

bool AppFileDialog(bool open, FileDialogRequest& request) {
    if (FileHook()) return FileHook()(open, request);
    std::wstring filter, extension, file;
    OPENFILENAMEW ofn = BuildOpenFileName(request, filter, extension, file, open);
    const auto show =
        DialogFunction<FileDialogFunction>(open ? "GetOpenFileNameW" : "GetSaveFileNameW");
    if (!show || !show(&ofn)) return false;
    request.fileName = file.c_str();
    return true;
}

FileDialogHook SetFileDialogHook(FileDialogHook hook) {
    FileDialogHook previous = std::move(FileHook());
    FileHook() = std::move(hook);
    return previous;
}

bool AppChooseColor(CHOOSECOLORA& choose) {
    if (ColourHook()) return ColourHook()(choose);
    const auto show = DialogFunction<ChooseColorFunction>("ChooseColorA");
    return show && show(&choose) != FALSE;
}

ChooseColorHook SetChooseColorHook(ChooseColorHook hook) {
    ChooseColorHook previous = std::move(ColourHook());
    ColourHook() = std::move(hook);
    return previous;
}

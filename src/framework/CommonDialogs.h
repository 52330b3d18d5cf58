// The platform's file and colour dialogs, each through one seam like AppMessageBox: the
// program calls these functions, a test installs a hook that answers instead of the modal
// dialog, and end-to-end runs drive the real one.
#pragma once

#include "Platform.h"

#include <commdlg.h>

#include <functional>
#include <string>

// A file dialog's request and answer.
struct FileDialogRequest {
    HWND owner = nullptr;
    std::string filter;     // "Text|*.txt||" style: parts separated by '|'
    std::string defaultExt; // without the dot
    std::wstring fileName;  // initial name in, chosen path out (any characters)
    DWORD flags = 0;        // OFN_ flags; OFN_EXPLORER and, for open, OFN_FILEMUSTEXIST are added
};

// Shows the file-open (open true) or file-save dialog; true when the user chose a file, whose
// path is then in request.fileName.
bool AppFileDialog(bool open, FileDialogRequest& request);
using FileDialogHook = std::function<bool(bool open, FileDialogRequest& request)>;
// Installs a hook that answers instead of the real dialog; returns the previous one. An empty
// hook restores the real dialog.
FileDialogHook SetFileDialogHook(FileDialogHook hook);

// Shows the colour chooser as choose describes it (owner, start colour, custom colours, flags);
// true when the user pressed OK, with the chosen colour in choose.rgbResult.
bool AppChooseColor(CHOOSECOLORA& choose);
using ChooseColorHook = std::function<bool(CHOOSECOLORA& choose)>;
ChooseColorHook SetChooseColorHook(ChooseColorHook hook);

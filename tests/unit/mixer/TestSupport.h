// Helpers shared by the mixer tests: a listener that records its calls and a capture of the
// message boxes the code under test would show.
#pragma once

#include "AppMessageBox.h"
#include "MixerSink.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

class RecordingSink : public CMixerSink {
public:
    std::vector<std::pair<DWORD, int>> calls;
    std::function<void(DWORD)> onChange;

    void OnMixerChange(DWORD controlId, int refresh) override {
        calls.emplace_back(controlId, refresh);
        if (onChange) onChange(controlId);
    }
    int Exchange(int) override { return 1; }
    size_t CountOf(DWORD controlId) const {
        size_t n = 0;
        for (const auto& call : calls)
            n += call.first == controlId ? 1 : 0;
        return n;
    }
};

struct ShownBox {
    std::string text;
    UINT type;
};

class BoxCapture {
public:
    BoxCapture() {
        m_previous =
            SetMessageBoxHook([this](HWND, const std::string& text, const std::string&, UINT type) {
                boxes.push_back({text, type});
                return IDOK;
            });
    }
    ~BoxCapture() { SetMessageBoxHook(m_previous); }
    std::vector<ShownBox> boxes;

private:
    MessageBoxHook m_previous;
};

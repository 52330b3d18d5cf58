// The simulated card's state for a benchmark: a file of its own in the temporary folder, so a
// run neither touches the card the user keeps nor leaves files where it was started. The file
// is deleted when the object goes.
#pragma once

#include "Platform.h"

#include <string>

class CBenchState {
public:
    CBenchState() {
        char folder[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, folder);
        m_path = std::string(folder) + "quendasim-bench-state.bin";
        ::SetEnvironmentVariableA("QUENDA_SIM_STATE", m_path.c_str());
    }
    ~CBenchState() { ::DeleteFileA(m_path.c_str()); }
    CBenchState(const CBenchState&) = delete;
    CBenchState& operator=(const CBenchState&) = delete;

private:
    std::string m_path;
};

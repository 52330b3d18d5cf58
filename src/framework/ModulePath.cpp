#include "ModulePath.h"

#include <vector>

std::string GetModulePath(HMODULE module) {
    std::vector<char> path(MAX_PATH);
    for (;;) {
        DWORD length = ::GetModuleFileNameA(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return std::string();
        if (length < path.size()) return std::string(path.data(), length);
        path.resize(path.size() * 2); // cut short: try a larger buffer
    }
}

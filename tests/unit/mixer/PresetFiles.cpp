#include "PresetFiles.h"

#include "Platform.h"

#include <fstream>
#include <iterator>

TempPreset::TempPreset() {
    char folder[MAX_PATH] = {};
    char file[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, folder);
    ::GetTempFileNameA(folder, "vqs", 0, file);
    m_path = file;
}

TempPreset::~TempPreset() {
    ::DeleteFileA(m_path.c_str());
}

void TempPreset::WriteBytes(const std::string& bytes) const {
    std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string TempPreset::ReadBytes() const {
    std::ifstream in(m_path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

#include "TestFiles.h"

#include "UniqueHandle.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

std::string ExeDirectory() {
    char path[MAX_PATH * 2] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string directory(path);
    return directory.substr(0, directory.find_last_of('\\'));
}

void WriteBesideExe(const std::string& name, const std::string& bytes) {
    static ULONGLONG tick = 0;
    std::string path = ExeDirectory() + "\\" + name;
    CKernelHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    DWORD written = 0;
    ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER stamp;
    stamp.LowPart = now.dwLowDateTime;
    stamp.HighPart = now.dwHighDateTime;
    if (tick < stamp.QuadPart) tick = stamp.QuadPart;
    tick += 10000000; // one second later than any earlier write
    stamp.QuadPart = tick;
    FILETIME later = {stamp.LowPart, stamp.HighPart};
    ::SetFileTime(file.Get(), nullptr, nullptr, &later);
}

void RemoveBesideExe(const std::string& name) {
    ::DeleteFileA((ExeDirectory() + "\\" + name).c_str());
}

void RemoveAllLanguageFiles() {
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((ExeDirectory() + "\\*.lng").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        RemoveBesideExe(found.cFileName);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

namespace {
struct TableSearch {
    LANGID language;
    std::map<UINT, std::wstring>* table;
};

BOOL CALLBACK CollectLanguage(HMODULE module, LPCSTR type, LPCSTR name, WORD language,
                              LONG_PTR param) {
    auto* search = reinterpret_cast<TableSearch*>(param);
    if (language != search->language) return TRUE;
    HRSRC found = ::FindResourceExA(module, type, name, language);
    if (!found) return TRUE;
    const WCHAR* entry = static_cast<const WCHAR*>(::LockResource(::LoadResource(module, found)));
    const WCHAR* end = entry + ::SizeofResource(module, found) / sizeof(WCHAR);
    UINT first = (static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)) - 1) * 16;
    for (UINT i = 0; i < 16 && entry < end; ++i) {
        if (*entry) (*search->table)[first + i] = std::wstring(entry + 1, entry + 1 + *entry);
        entry += 1 + *entry;
    }
    return TRUE;
}

BOOL CALLBACK CollectBlock(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param) {
    ::EnumResourceLanguagesA(module, type, name, CollectLanguage, param);
    return TRUE;
}
} // namespace

std::map<UINT, std::wstring> ReadStringTable(LANGID language) {
    std::map<UINT, std::wstring> table;
    TableSearch search = {language, &table};
    ::EnumResourceNamesA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(6), CollectBlock,
                         reinterpret_cast<LONG_PTR>(&search));
    return table;
}

std::string TableText(LANGID language, UINT id, UINT codePage) {
    std::map<UINT, std::wstring> table = ReadStringTable(language);
    auto found = table.find(id);
    if (found == table.end()) return std::string();
    const std::wstring& text = found->second;
    int bytes = ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string converted(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &converted[0],
                          bytes, nullptr, nullptr);
    return converted;
}

// A fresh folder under the temporary folder for one test, removed with everything in it
// (read-only files too) when the test ends. Paths are UTF-8, like the ports'.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"

namespace varnic::win32::testing {

// The entries of `folder` ("." and ".." left out), with their attributes.
inline std::vector<std::pair<std::wstring, DWORD>> Entries(const std::wstring& folder) {
    std::vector<std::pair<std::wstring, DWORD>> entries;
    WIN32_FIND_DATAW found{};
    UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &found));
    for (bool more = static_cast<bool>(find); more; more = FindNextFileW(find.Get(), &found))
        if (std::wstring name = found.cFileName; name != L"." && name != L"..")
            entries.emplace_back(name, found.dwFileAttributes);
    return entries;
}

class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& purpose) {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        static int serial = 0;
        do {
            path_ = Utf8(temp) + "varnic-" + purpose + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                    std::to_string(++serial);
        } while (!CreateDirectoryW(Wide(path_).c_str(), nullptr));
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder() { Remove(Wide(path_)); }

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& [name, attributes] : Entries(Wide(path_))) names.push_back(Utf8(name));
        return names;
    }

private:
    static void Remove(const std::wstring& folder) {
        for (const auto& [name, attributes] : Entries(folder)) {
            const std::wstring path = folder + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (attributes & FILE_ATTRIBUTE_DIRECTORY) Remove(path);
            else DeleteFileW(path.c_str());
        }
        RemoveDirectoryW(folder.c_str());
    }

    std::string path_;
};

// Writes bytes with plain Win32 calls, independent of the port under test.
inline bool PutFile(const std::string& path, const std::string& bytes, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    UniqueFile file(CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

// Reads a whole file with plain Win32 calls; "<missing>" when it cannot be opened.
inline std::string FileBytes(const std::string& path) {
    UniqueFile file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    if (!file) return "<missing>";
    std::string bytes;
    char buffer[4096];
    for (DWORD got = 0; ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0;) bytes.append(buffer, got);
    return bytes;
}

}  // namespace varnic::win32::testing

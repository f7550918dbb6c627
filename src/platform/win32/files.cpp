// Win32FileSystem. Write never truncates the target in place: the new bytes go to a
// temporary file in the same folder (so the final move is a rename on one volume), created
// with the target's hidden and system attributes, and only a complete, flushed copy is moved
// over the target.
#include "platform/win32/files.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"

namespace varnic::win32 {
namespace {

bool WriteAll(HANDLE file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

}  // namespace

bool Win32FileSystem::Exists(const std::string& path) {
    // Wildcards would make the listing match other names; no real file is called that.
    if (path.empty() || path.find_first_of("*?") != std::string::npos) return false;
    WIN32_FIND_DATAW found{};
    UniqueFind find(FindFirstFileW(Wide(path).c_str(), &found));
    if (!find) return false;
    const DWORD hiddenKinds = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return (found.dwFileAttributes & hiddenKinds) == 0;
}

bool Win32FileSystem::NameTaken(const std::string& path) {
    if (GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    // Only a plain "not there" frees the name: a name that cannot be looked at may still be a
    // file the user keeps.
    const DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND && error != ERROR_INVALID_NAME;
}

std::optional<std::string> Win32FileSystem::Read(const std::string& path, std::size_t maxBytes) {
    UniqueFile file(CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string bytes;
    char buffer[64 * 1024];
    while (bytes.size() < maxBytes) {
        DWORD want = static_cast<DWORD>(std::min<std::size_t>(sizeof buffer, maxBytes - bytes.size()));
        DWORD got = 0;
        if (!ReadFile(file.Get(), buffer, want, &got, nullptr)) return std::nullopt;
        if (got == 0) break;
        bytes.append(buffer, got);
    }
    return bytes;
}

bool Win32FileSystem::Write(const std::string& path, const std::string& bytes) {
    const std::wstring target = Wide(path);
    if (target.empty()) return false;
    // MoveFileEx replaces a read-only file without a murmur; a read-only file is meant to stay.
    DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
        return false;

    // The moved file keeps the attributes it was created with, so a hidden or system target is
    // replaced by a hidden or system file.
    const DWORD hiddenOrSystem =
        attributes == INVALID_FILE_ATTRIBUTES ? 0 : attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    const DWORD kept = hiddenOrSystem != 0 ? hiddenOrSystem : FILE_ATTRIBUTE_NORMAL;
    const std::wstring temporary = target + L".tmp-" + std::to_wstring(GetCurrentProcessId());
    {
        UniqueFile file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, kept, nullptr));
        if (!file) return false;
        if (!WriteAll(file.Get(), bytes) || !FlushFileBuffers(file.Get())) {
            file.Reset();
            DeleteFileW(temporary.c_str());
            return false;
        }
    }
    if (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

bool Win32FileSystem::Copy(const std::string& from, const std::string& to) {
    return CopyFileW(Wide(from).c_str(), Wide(to).c_str(), FALSE) != 0;
}

bool Win32FileSystem::Delete(const std::string& path) { return DeleteFileW(Wide(path).c_str()) != 0; }

}  // namespace varnic::win32

#include "updater/win32/win32_download_files.h"

#include <windows.h>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"

namespace varnic::win32 {
namespace {

class DiskPendingFile final : public PendingFile {
public:
    DiskPendingFile(std::wstring target, std::wstring temporary, UniqueFile file)
        : target_(std::move(target)), temporary_(std::move(temporary)), file_(std::move(file)) {}
    ~DiskPendingFile() override {
        if (committed_) return;
        file_.Reset();
        DeleteFileW(temporary_.c_str());
    }

    bool Write(const char* bytes, std::size_t count) override {
        while (count > 0) {
            DWORD written = 0;
            if (!WriteFile(file_.Get(), bytes, static_cast<DWORD>(count), &written, nullptr) || written == 0)
                return false;
            bytes += written;
            count -= written;
        }
        return true;
    }

    bool Commit() override {
        if (!FlushFileBuffers(file_.Get())) return false;
        file_.Reset();
        if (!MoveFileExW(temporary_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return false;
        committed_ = true;
        return true;
    }

private:
    std::wstring target_;
    std::wstring temporary_;
    UniqueFile file_;
    bool committed_ = false;
};

// An existing target must be writable by us now: a running program, a file another program
// holds without sharing, a read-only file or a folder all fail here.
bool CanReplace(const std::wstring& target) {
    DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return GetLastError() == ERROR_FILE_NOT_FOUND;
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return false;
    UniqueFile probe(CreateFileW(target.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(probe);
}

}  // namespace

std::unique_ptr<PendingFile> Win32DownloadFiles::Begin(const std::string& target) {
    const std::wstring wideTarget = Wide(target);
    if (wideTarget.empty() || !CanReplace(wideTarget)) return nullptr;
    const std::wstring temporary = Wide(TemporaryName(target));
    UniqueFile file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
    if (!file) return nullptr;
    return std::make_unique<DiskPendingFile>(wideTarget, temporary, std::move(file));
}

}  // namespace varnic::win32

// DownloadFiles on disk: the body goes to "<target>.download" in the target's folder (so the
// final move is a rename on one volume) and a committed file replaces the target with
// MoveFileExW. A target that is in use (a running kelvo.exe) or read-only is refused before
// anything is downloaded, and stays as it was.
#pragma once

#include "updater/download_files.h"

namespace varnic::win32 {

class Win32DownloadFiles final : public DownloadFiles {
public:
    std::unique_ptr<PendingFile> Begin(const std::string& target) override;

    // The temporary file's name for a target.
    static std::string TemporaryName(const std::string& target) { return target + ".download"; }
};

}  // namespace varnic::win32

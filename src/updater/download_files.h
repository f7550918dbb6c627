// Where a download's body goes. The body is written to a temporary file beside the target
// and only a complete, checked body replaces the target, so a broken transfer never damages
// the file that was there before.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace varnic {

// A temporary file being filled. Destroying it without a successful Commit deletes it.
class PendingFile {
public:
    virtual ~PendingFile() = default;
    virtual bool Write(const char* bytes, std::size_t count) = 0;
    // Closes the temporary file and moves it over the target in one step. False when the
    // target could not be replaced; the target is then as it was.
    virtual bool Commit() = 0;
};

class DownloadFiles {
public:
    virtual ~DownloadFiles() = default;
    // Starts a replacement of `target`: nullptr when the target exists but cannot be written
    // (in use, read-only) or the temporary file cannot be created (folder missing, no rights).
    virtual std::unique_ptr<PendingFile> Begin(const std::string& target) = 0;
};

}  // namespace varnic

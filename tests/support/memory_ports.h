// In-memory stand-ins for the file ports, shared by the unit tests and the fuzz targets (no test framework
// here): the log every stand-in tells its calls, a folder that refuses what a real disk refuses, a code page.
#pragma once

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "base/ports.h"
#include "updater/download_files.h"

namespace varnic::fakes {

// What the stand-ins were asked, in order, one text a call ("write C:\V\Setting.ini").
struct CallLog {
    std::vector<std::string> calls;
    bool Add(std::string call) { return calls.push_back(std::move(call)), true; }  // true: log and answer at once
    int Count(const std::string& call) const { return static_cast<int>(std::count(calls.begin(), calls.end(), call)); }
    std::vector<std::string> Of(const std::string& words) const {  // the calls whose first word is one of them
        std::vector<std::string> found;
        for (const std::string& call : calls)
            if ((" " + words + " ").find(" " + call.substr(0, call.find(' ')) + " ") != std::string::npos)
                found.push_back(call);
        return found;
    }
};

class FakeFileSystem : public FileSystem {
public:
    std::map<std::string, std::string> files;
    std::set<std::string> folders;     // a folder in a file's place
    std::set<std::string> hidden;      // hidden or system files: there, but no ordinary file
    std::set<std::string> readOnly;    // files that cannot be replaced or deleted
    std::set<std::string> unreadable;  // files that exist but cannot be opened
    bool folderReadOnly = false;       // nothing can be written beside a file, so nothing is written
    CallLog* log = nullptr;            // told the changes that succeed

    bool Exists(const std::string& path) override { return files.count(path) && !hidden.count(path); }
    bool NameTaken(const std::string& path) override { return files.count(path) || folders.count(path); }
    std::optional<std::string> Read(const std::string& path, std::size_t maxBytes) override {
        if (!files.count(path) || unreadable.count(path)) return std::nullopt;
        return files[path].substr(0, maxBytes);
    }
    bool Write(const std::string& path, const std::string& bytes) override {
        if (folders.count(path) || readOnly.count(path) || folderReadOnly) return false;
        files[path] = bytes;
        return Told("write " + path);
    }
    bool Copy(const std::string& from, const std::string& to) override {
        if (!files.count(from) || folders.count(to) || readOnly.count(to)) return false;
        files[to] = files[from];
        return Told("copy " + from + " " + to);
    }
    bool Delete(const std::string& path) override {
        return files.count(path) && !readOnly.count(path) && files.erase(path) && Told("delete " + path);
    }

private:
    bool Told(std::string call) { return !log || log->Add(std::move(call)); }
};

// The tests' files are written in UTF-8, so the "ANSI" code page is UTF-8 here.
class IdentityCodec : public AnsiCodec {
public:
    std::string ToUtf8(const std::string& ansi) override { return ansi; }
    std::string FromUtf8(const std::string& utf8) override { return utf8; }
};

// A folder that also takes downloads: a download reaches its file only when committed, and,
// like any write, is refused for a read-only file or a folder in its place.
class MemoryFolder : public FakeFileSystem, public DownloadFiles {
public:
    std::optional<std::size_t> failWriteAt;  // the download write that brings the size past this fails
    std::vector<std::size_t> writeSizes;     // of every download write, in order
    int pendingAlive = 0;                    // downloads begun and not yet let go

    std::unique_ptr<PendingFile> Begin(const std::string& target) override {
        if (readOnly.count(target) || folders.count(target)) return nullptr;
        return std::make_unique<Pending>(*this, target);
    }

private:
    class Pending final : public PendingFile {
       public:
        Pending(MemoryFolder& folder, std::string target) : folder_(folder), target_(std::move(target)) {
            ++folder_.pendingAlive;
        }
        ~Pending() override { --folder_.pendingAlive; }
        bool Write(const char* data, std::size_t count) override {
            folder_.writeSizes.push_back(count);
            if (folder_.failWriteAt && bytes_.size() + count > *folder_.failWriteAt) return false;
            bytes_.append(data, count);
            return true;
        }
        bool Commit() override { return folder_.Write(target_, bytes_); }

       private:
        MemoryFolder& folder_;
        std::string target_, bytes_;
    };
};

}  // namespace varnic::fakes

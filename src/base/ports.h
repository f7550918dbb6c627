// The small interfaces through which the portable core asks the operating system for
// things. Each has one Win32 implementation (src/platform/win32) and one fake for tests.
// Texts crossing these interfaces are UTF-8; file contents are raw bytes, whose code page
// the AnsiCodec port knows.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace varnic {

// Show values of a started process's main window, as the system numbers them.
enum class ShowWindow : int { Hidden = 0, Normal = 1, Minimized = 2 };

// Files of the installation folder. Paths are UTF-8.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // True when the path names an ordinary file: not a folder, not hidden, not a system file.
    virtual bool Exists(const std::string& path) = 0;
    // True when anything answers to the name: any file, hidden and system ones included, or a
    // folder. A reader that creates a missing file with its defaults asks this, so that it
    // never writes over a file the user keeps.
    virtual bool NameTaken(const std::string& path) { return Exists(path); }
    // Up to maxBytes bytes from the start of the file; nullopt when it cannot be opened or read.
    virtual std::optional<std::string> Read(const std::string& path, std::size_t maxBytes) = 0;
    // Replaces the file's whole contents in one go: written beside it and moved over it, so a
    // failed write never leaves a half-written file; a hidden or system file stays so. False
    // when the file could not be replaced.
    virtual bool Write(const std::string& path, const std::string& bytes) = 0;
    virtual bool Copy(const std::string& from, const std::string& to) = 0;  // replaces `to`
    virtual bool Delete(const std::string& path) = 0;
};

// The system's ANSI code page (GBK on Chinese systems): the encoding of every text file.
class AnsiCodec {
public:
    virtual ~AnsiCodec() = default;
    virtual std::string ToUtf8(const std::string& ansi) = 0;
    virtual std::string FromUtf8(const std::string& utf8) = 0;
};

class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    // Starts `commandLine` with `program` as the image (full path; the command line stays as
    // given). Does not wait. False when the process could not be created.
    virtual bool Start(const std::string& program, const std::string& commandLine, ShowWindow show) = 0;
    // Starts like Start and keeps the process's handle: once the process has ended, `ended`
    // runs on the calling thread, from its message loop. Nothing waits for the process
    // meanwhile. A launcher that cannot follow its processes starts them unfollowed.
    virtual bool StartFollowed(const std::string& program, const std::string& commandLine, ShowWindow show,
                               std::function<void()> ended) {
        (void)ended;
        return Start(program, commandLine, show);
    }
    // Starts like StartFollowed without making the caller wait while the process is created:
    // `started` runs later on the calling thread, from its message loop, with whether it was.
    // A launcher that cannot start in the background starts at once and answers before it
    // returns.
    virtual void StartInBackground(const std::string& program, const std::string& commandLine, ShowWindow show,
                                   std::function<void(bool)> started, std::function<void()> ended) {
        const bool created = StartFollowed(program, commandLine, show, std::move(ended));
        started(created);
    }
};

// Physical memory, in bytes, and the load in percent (0 to 100).
struct MemoryStatus {
    std::uint32_t memoryLoad = 0;
    std::uint64_t totalPhys = 0;
    std::uint64_t availPhys = 0;
};

class MemoryProbe {
public:
    virtual ~MemoryProbe() = default;
    virtual MemoryStatus Read() = 0;
};

class ProcessCounter {
public:
    virtual ~ProcessCounter() = default;
    // Number of processes running now; 0 when they cannot be listed.
    virtual int Count() = 0;
};

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Empties the clipboard of all formats; false when another program holds it.
    virtual bool Clear() = 0;
};

class Beeper {
public:
    virtual ~Beeper() = default;
    virtual void Beep() = 0;  // the system's default sound
};

enum class MessageIcon { None, Critical, Information };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // A modal box with an OK button only.
    virtual void Show(const std::string& text, const std::string& caption, MessageIcon icon) = 0;
};

class Shell {
public:
    virtual ~Shell() = default;
    // The shell's "Open" verb on an address or a document; the result is not reported.
    virtual void Open(const std::string& target, const std::string& workingDirectory) = 0;
};

}  // namespace varnic

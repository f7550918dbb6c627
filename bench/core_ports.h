// Ports for driving kelvo's Form1 in a benchmark: an in-memory file system, the real memory
// figures of this machine (sysinfo, the counterpart of GlobalMemoryStatusEx) or fixed ones,
// and silent stand-ins for everything that would reach the desktop.
#pragma once

#include <sys/sysinfo.h>

#include <map>
#include <optional>
#include <string>

#include "base/ports.h"
#include "cleaner/hotkey.h"
#include "monitor/main_form.h"
#include "monitor/monitor_ports.h"

namespace varnic::bench {

class MemoryFileSystem : public FileSystem {
public:
    bool Exists(const std::string& path) override { return files_.count(path) > 0; }
    std::optional<std::string> Read(const std::string& path, std::size_t maxBytes) override {
        auto found = files_.find(path);
        if (found == files_.end()) return std::nullopt;
        return found->second.substr(0, maxBytes);
    }
    bool Write(const std::string& path, const std::string& bytes) override {
        files_[path] = bytes;
        return true;
    }
    bool Copy(const std::string& from, const std::string& to) override {
        auto found = files_.find(from);
        if (found == files_.end()) return false;
        files_[to] = found->second;
        return true;
    }
    bool Delete(const std::string& path) override { return files_.erase(path) > 0; }

private:
    std::map<std::string, std::string> files_;
};

class Utf8Codec : public AnsiCodec {
public:
    std::string ToUtf8(const std::string& ansi) override { return ansi; }
    std::string FromUtf8(const std::string& utf8) override { return utf8; }
};

// This machine's physical memory, read afresh every time.
class SystemMemoryProbe : public MemoryProbe {
public:
    MemoryStatus Read() override {
        struct sysinfo info {};
        sysinfo(&info);
        const std::uint64_t unit = info.mem_unit ? info.mem_unit : 1;
        MemoryStatus status;
        status.totalPhys = info.totalram * unit;
        status.availPhys = (info.freeram + info.bufferram) * unit;
        status.memoryLoad =
            status.totalPhys ? static_cast<std::uint32_t>(100 - status.availPhys * 100 / status.totalPhys) : 0;
        return status;
    }
};

// Fixed figures: what the core costs without the system call.
class FixedMemoryProbe : public MemoryProbe {
public:
    MemoryStatus Read() override { return {45, 2048ull << 20, 1126ull << 20}; }
};

class SteadyProcessCounter : public ProcessCounter {
public:
    int Count() override { return 42; }
};

class QuietLauncher : public ProcessLauncher {
public:
    int starts = 0;
    bool Start(const std::string&, const std::string&, ShowWindow) override {
        ++starts;
        return true;
    }
};

class QuietDesktop : public Clipboard, public Beeper, public MessageBoxes, public Shell, public Tray {
public:
    bool Clear() override { return true; }
    void Beep() override {}
    void Show(const std::string&, const std::string&, MessageIcon) override {}
    void Open(const std::string&, const std::string&) override {}
    void SendToTray() override {}
    void ShowFromTray() override {}
    void SetTip(const std::string& text) override { tip = text; }
    void SetMenuEnabled() override {}
    void ShowProgramIcon() override {}
    void ShowGaugeIcon() override {}
    void ShowBalloon(const std::string&, const std::string&) override {}

    std::string tip;
};

// The gauge surface of the portable tick; the drawing itself is the Win32 canvas's cost.
class NullGauge : public GaugeSurface {
public:
    int InnerWidth() override { return 555; }
    void Clear() override {}
    void SetFontName(const std::string&) override {}
    void Print(const std::string&) override {}
    void SetLineWidth(int) override {}
    void Line(int, int, int, int, Rgb) override {}
};

class QuietHotkeySystem : public HotkeySystem {
public:
    std::uint16_t AddAtom(const std::string&) override { return 0xC001; }
    void DeleteAtom(std::uint16_t) override {}
    bool Register(std::int32_t, std::uint32_t, std::int32_t) override { return true; }
    bool Unregister(std::int32_t) override { return true; }
    std::uintptr_t CurrentWindowProcedure() override { return 1; }
    void SetWindowProcedure(std::uintptr_t) override {}
    std::uintptr_t HotkeyWindowProcedure() override { return 2; }
    std::intptr_t CallWindowProcedure(std::uintptr_t, std::uint32_t, std::uintptr_t, std::intptr_t) override {
        return 0;
    }
    std::optional<std::int16_t> AnsiCode(const std::string& text) override {
        if (text.empty()) return std::nullopt;
        return static_cast<std::int16_t>(static_cast<unsigned char>(text[0]));
    }
};

class QuietHost : public kelvo::MainWindowHost {
public:
    bool LoadBackground(const std::string&) override { return true; }
    void HideWindow() override {}
    void StartMinuteTimer() override {}
    void ShowRuleEditor() override {}
    void ShowAbout() override {}
    void EndProgram() override {}
    bool IsElevated() override { return false; }
    bool RestartElevated() override { return false; }
    kelvo::ClockTime LocalTime() override { return {12, 0}; }
};

}  // namespace varnic::bench

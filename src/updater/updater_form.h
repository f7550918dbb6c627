// The updater window of tarnel as a model: its controls' state as plain values and its
// handlers. The user picks a server, checks the server's version against the installed one,
// downloads the new kelvo.exe when the server's is newer (than the installed one and than
// this tarnel's own) and signed by the release key, and leaves; every close starts
// "kelvo.exe -sendme" so the main program comes back in its tray.
//
// The Win32 view (win32/updater_window.h) creates the real controls, forwards clicks here and
// reflects the state after every Changed notification.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/form_controls.h"
#include "base/ports.h"
#include "updater/clock.h"
#include "updater/download.h"
#include "updater/signed_update.h"
#include "updater/updater_texts.h"

namespace varnic {

// A label, button, option button or text box: caption (a text box's text), place, state.
struct FormControl {
    std::string caption;
    TwipsRect position;
    bool enabled = true;
    bool visible = true;
    bool value = false;  // option buttons: selected
};

struct ProgressControl {
    TwipsRect position;
    std::int32_t value = 0;  // 0 to 100
    std::int32_t progressLook = 6;
};

// What the updater asks of the system.
struct UpdaterPorts {
    FileSystem& files;
    AnsiCodec& codec;
    ProcessLauncher& launcher;
    MessageBoxes& messages;
    HttpSession& http;
    DownloadFiles& downloads;
    Sha256Factory& sha256;
    SignatureVerifier& signatures;  // holds the one key whose updates are installed
    Clock& clock;
};

class UpdaterForm {
public:
    static constexpr int kClientWidth = 4860;  // twips
    static constexpr int kClientHeight = 2430;

    // `installationDirectory` has no trailing backslash; every file name is appended to it.
    // `builtInVersion` is this program's own version: nothing older is ever offered. The window
    // speaks `language`.
    UpdaterForm(UpdaterPorts ports, std::string installationDirectory, std::string builtInVersion,
                Language language = Language::kChinese);
    Language SpokenLanguage() const { return language_; }
    ~UpdaterForm();

    std::string caption;  // the window's
    FormControl Label8, Option1, Option2, Command2, Command1, Command3;
    FormControl Label6, Label4, Label7, Label5, Label3, L;
    FormControl Label1, T1, Label2, T2;  // hidden: the version file's address and local path
    ProgressControl pb1;

    std::int64_t TotalSize = 0;  // announced length of the current transfer; 0 when unknown
    std::int16_t Mode = 0;       // 1 version file, 2 program file
    std::string ProgramUrl;
    std::string ProgramFile;

    void Form_Load();
    void LoadSetting();
    void Option1_Click();
    void Option2_Click();
    void Command2_Click();  // check for a new version
    void Command1_Click();  // update
    void Command3_Click();  // exit
    void Form_Unload();     // the window is closing, by any way; runs once

    void tg_GetData(std::int64_t Received);
    void tg_DownLoadOver();
    void tg_ErrMassage(const std::string& Message);

    bool Transferring() const;
    DownLoad* tg() { return tg_.get(); }

    std::function<void()> Changed;          // some control's state changed
    std::function<void()> UnloadRequested;  // exit: the view closes the window
    std::function<void()> Yield;            // handles the window's pending messages

private:
    std::string Path(const std::string& name) const { return directory_ + name; }
    void Notify();
    void Transfer(const std::string& url, const std::string& saveFile, ContentCheck check, std::int16_t mode);
    void JudgeOffer(const std::string& installed);
    std::string Says(UpdaterText name) const { return std::string(Text(name, language_)); }

    UpdaterPorts ports_;
    std::string directory_;
    std::string builtInVersion_;
    Language language_;
    std::unique_ptr<DownLoad> tg_;
    std::optional<SignedUpdate> offer_;  // the checked, newer version that the update installs
    bool unloaded_ = false;
};

// The counter text: received and total grouped by thousands, 0 printing as nothing.
std::string ProgressCounter(std::int64_t received, std::int64_t total);

// The bar's value: received × 100 ÷ total rounded half to even, never above 100; nullopt
// when the total is unknown (0 or less).
std::optional<std::int32_t> ProgressPercent(std::int64_t received, std::int64_t total);

// A Content-Length answer as a length: a whole non-negative number, else 0 (unknown).
std::int64_t AnnouncedSize(const std::string& headerValue);

}  // namespace varnic

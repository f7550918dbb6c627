#include "updater/updater_form.h"

#include <algorithm>

#include "base/app_files.h"
#include "base/line_file.h"
#include "base/numbers.h"
#include "updater/update_hosts.h"
#include "updater/update_settings.h"
#include "updater/updater_texts.h"
#include "updater/version_files.h"

namespace varnic {
namespace {

FormControl Control(std::string_view caption, TwipsRect position, bool visible = true) {
    FormControl control;
    control.caption = caption;
    control.position = position;
    control.visible = visible;
    return control;
}

constexpr char kProgramFile[] = "\\kelvo.exe";
constexpr char kTextBoxDesignText[] = "Text1";  // what T1 and T2 hold before any setting
constexpr char kSendMe[] = " -sendme";

}  // namespace

std::string ProgressCounter(std::int64_t received, std::int64_t total) {
    return FormatGrouped(received) + "/" + FormatGrouped(total);
}

std::optional<std::int32_t> ProgressPercent(std::int64_t received, std::int64_t total) {
    if (total <= 0) return std::nullopt;
    auto percent = RoundHalfEven(static_cast<double>(received) * 100.0 / static_cast<double>(total));
    return std::clamp<std::int32_t>(percent.value_or(100), 0, 100);
}

std::int64_t AnnouncedSize(const std::string& headerValue) {
    std::size_t start = headerValue.find_first_not_of(" \t");
    if (start == std::string::npos) return 0;
    std::size_t end = headerValue.find_last_not_of(" \t") + 1;
    std::string digits = headerValue.substr(start, end - start);
    if (digits.size() > 18 || digits.find_first_not_of("0123456789") != std::string::npos) return 0;
    return std::stoll(digits);
}

UpdaterForm::UpdaterForm(UpdaterPorts ports, std::string installationDirectory, std::string builtInVersion,
                         Language language)
    : caption(Text(UpdaterText::kCaption, language)),
      Label8(Control(Text(UpdaterText::kInstructions, language), {120, 120, 4695, 735})),
      Option1(Control(Text(UpdaterText::kMainServer, language), {480, 600, 1215, 255})),
      Option2(Control(Text(UpdaterText::kBackupServer, language), {2760, 600, 1455, 255})),
      Command2(Control(Text(UpdaterText::kCheck, language), {240, 960, 1170, 420})),
      Command1(Control(Text(UpdaterText::kUpdate, language), {1920, 960, 1170, 420})),
      Command3(Control(Text(UpdaterText::kExit, language), {3600, 960, 1170, 420})),
      Label6(Control(Text(UpdaterText::kInstalledVersion, language), {240, 1560, 1095, 255})),
      Label4(Control("", {1320, 1560, 615, 255})),
      Label7(Control(Text(UpdaterText::kLatestVersion, language), {2400, 1560, 1095, 255})),
      Label5(Control("", {3600, 1560, 975, 255})),
      Label3(Control(Text(UpdaterText::kProgress, language), {120, 1920, 450, 210})),
      L(Control("", {2280, 1920, 2685, 240})),
      Label1(Control(Text(UpdaterText::kAddress, language), {90, 675, 915, 255}, false)),
      T1(Control(kTextBoxDesignText, {2040, 1920, 855, 270}, false)),
      Label2(Control(Text(UpdaterText::kSaveAs, language), {105, 1110, 855, 255}, false)),
      T2(Control(kTextBoxDesignText, {840, 1920, 1125, 240}, false)),
      ports_(ports),
      directory_(std::move(installationDirectory)),
      builtInVersion_(std::move(builtInVersion)),
      language_(language) {
    Option1.value = true;
    pb1.position = {120, 2160, 4695, 255};
}

UpdaterForm::~UpdaterForm() = default;

void UpdaterForm::Notify() {
    if (Changed) Changed();
}

bool UpdaterForm::Transferring() const { return tg_ && tg_->State() == DownLoadState::Transferring; }

void UpdaterForm::Form_Load() {
    tg_ = std::make_unique<DownLoad>(ports_.http, ports_.downloads, ports_.sha256, ports_.clock, language_);
    tg_->GetData = [this](std::int64_t received) { tg_GetData(received); };
    tg_->DownLoadOver = [this] { tg_DownLoadOver(); };
    tg_->ErrMassage = [this](const std::string& message) { tg_ErrMassage(message); };
    tg_->Yield = [this] {
        if (Yield) Yield();
    };
    LoadSetting();
    Command1.enabled = false;
    Notify();
}

void UpdaterForm::LoadSetting() {
    const std::string settings = Path(kUpdateSettingsFile);
    if (!ports_.files.Exists(settings)) {
        ports_.messages.Show(Says(UpdaterText::kUpdateSettingsMissing), kApplicationTitle, MessageIcon::None);
        return;
    }
    LineFiles lineFiles(ports_.files, ports_.codec);
    auto lines = lineFiles.Read(settings, 4).value_or(std::vector<std::string>{});
    lines.resize(4);
    // A local path must name a file of the installation folder; a refused one leaves no
    // path, so the transfer that needs it is not started.
    auto localPath = [&](int lineNumber) -> std::string {
        const std::string& line = lines[lineNumber - 1];
        if (IsInsideInstallFolder(line)) return Path(line);
        ports_.messages.Show(OutsidePathMessage(lineNumber, line, language_), Says(UpdaterText::kErrorTitle),
                             MessageIcon::Critical);
        return "";
    };
    T1.caption = lines[0];
    T2.caption = localPath(2);
    ProgramUrl = lines[2];
    ProgramFile = localPath(4);
    Notify();
}

void UpdaterForm::Option1_Click() {
    Option1.value = true;
    Option2.value = false;
    LoadSetting();
    Notify();
}

void UpdaterForm::Option2_Click() {
    Option1.value = false;
    Option2.value = true;
    T1.caption = kBackupVersionUrl;
    T2.caption = Path(kLatestVersionFile);
    ProgramUrl = kBackupProgramUrl;
    ProgramFile = Path(kProgramFile);
    Notify();
}

void UpdaterForm::Transfer(const std::string& url, const std::string& saveFile, ContentCheck check,
                           std::int16_t mode) {
    if (saveFile.empty()) {
        tg_ErrMassage(Says(UpdaterText::kNoLocalPath));
        return;
    }
    tg_->URL(url);
    tg_->SaveFile(saveFile);
    tg_->Expect(std::move(check));
    tg_->Execute();
    TotalSize = AnnouncedSize(tg_->GetHeader("Content-Length"));
    Mode = mode;
    tg_->StartDownLoad();
}

void UpdaterForm::Command2_Click() {
    if (!tg_ || Transferring()) return;  // a click that arrives while a transfer yields
    Transfer(T1.caption, T2.caption, ContentCheck{std::nullopt, "", kVersionFileLimit}, 1);
    Notify();
}

void UpdaterForm::Command1_Click() {
    if (!tg_ || Transferring() || !Command1.enabled || !offer_) return;
    Command1.enabled = false;
    Notify();
    Transfer(ProgramUrl, ProgramFile, ContentCheck{offer_->size, offer_->sha256, std::nullopt}, 2);
    Command2.enabled = true;
    Notify();
}

void UpdaterForm::Command3_Click() {
    if (UnloadRequested) UnloadRequested();
}

void UpdaterForm::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    // A program download cut short must not leave a half-written kelvo.exe behind.
    if (tg_) tg_->Cancel();
    std::string program = Path(kProgramFile);
    // Quoted only when needed, so the usual command line stays exactly "<dir>\kelvo.exe -sendme".
    std::string quoted = program.find_first_of(" \t") == std::string::npos ? program : "\"" + program + "\"";
    ports_.launcher.Start(program, quoted + kSendMe, ShowWindow::Minimized);
}

void UpdaterForm::tg_GetData(std::int64_t Received) {
    L.caption = ProgressCounter(Received, TotalSize);
    if (auto percent = ProgressPercent(Received, TotalSize)) pb1.value = *percent;
    Notify();
}

void UpdaterForm::tg_DownLoadOver() {
    if (Mode == 1) {
        const std::string installed = ReadVersionText(ports_.files, ports_.codec, Path(kInstalledVersionFile));
        Label4.caption = installed;
        pb1.value = 0;
        JudgeOffer(installed);
    } else {
        ports_.messages.Show(Says(UpdaterText::kUpdateSucceeded), Says(UpdaterText::kNoticeTitle),
                             MessageIcon::Information);
        // Exactly the file whose signature was checked, whatever "\temp\vr.ini" holds now.
        if (offer_) ports_.files.Write(Path(kInstalledVersionFile), offer_->fileBytes);
        offer_.reset();
    }
}

// Only a version file signed by the release key shows its version, and the update is offered only
// when that version is newer than the installed one and than this program's own (a missing or
// damaged "\vr.ini" reads as 0, and a replayed older release must not pass for new). A refused
// file is deleted, so it never passes for a checked one later.
void UpdaterForm::JudgeOffer(const std::string& installed) {
    offer_.reset();
    Command1.enabled = false;
    const std::string latestFile = Path(kLatestVersionFile);
    auto bytes = ports_.files.Read(latestFile, kVersionFileLimit);
    UpdateVerdict verdict = VerifyVersionFile(bytes.value_or(""), ports_.signatures);
    if (!verdict.update) {
        ports_.files.Delete(latestFile);
        Notify();
        tg_ErrMassage(RefusalMessage(verdict.refusal, language_));
        return;
    }
    Label5.caption = ports_.codec.ToUtf8(verdict.update->version);
    const double floor = std::max(LeadingNumber(installed), LeadingNumber(builtInVersion_));
    if (LeadingNumber(verdict.update->version) > floor) {
        offer_ = std::move(verdict.update);
        Command1.enabled = true;
    }
    Notify();
}

void UpdaterForm::tg_ErrMassage(const std::string& Message) {
    ports_.messages.Show(Message, Says(UpdaterText::kErrorTitle), MessageIcon::Critical);
}

}  // namespace varnic

// The updater window's model driven as the user and the downloader would, over an in-memory
// installation folder and a fake update server.
#include "updater/updater_form.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

#include "memory_ports.h"
#include "updater/sha256.h"
#include "updater/update_hosts.h"
#include "updater/update_settings.h"
#include "updater_signing.h"

namespace varnic {
namespace {

using namespace std::string_literals;
using namespace signing;

constexpr char kDir[] = "C:\\Varnic";
const std::string kVersionUrl = "http://update.varnic.example/update/vr.ini";
const std::string kProgramUrl = "http://update.varnic.example/update/kelvo.exe";

struct Started {
    std::string program, commandLine;
    ShowWindow show;
};
struct RecordingLauncher final : ProcessLauncher {
    std::vector<Started> started;
    bool Start(const std::string& program, const std::string& commandLine, ShowWindow show) override {
        started.push_back({program, commandLine, show});
        return true;
    }
};

struct Shown {
    std::string text, caption;
    MessageIcon icon;
};
struct RecordingMessages final : MessageBoxes {
    std::vector<Shown> shown;
    void Show(const std::string& text, const std::string& caption, MessageIcon icon) override {
        shown.push_back({text, caption, icon});
    }
};

// An update server: resources by address; an unknown address cannot be reached.
struct Resource {
    std::string body;
    int status = 200;
    std::optional<std::size_t> announced;  // Content-Length when it differs from the body
    bool announce = true;
};
struct FakeServer final : HttpSession {
    std::map<std::string, Resource> resources;
    std::vector<std::string> requested;
    const Resource* current = nullptr;
    std::size_t offset = 0;

    bool Open(const std::string&) override { return true; }
    bool OpenUrl(const std::string& url) override {
        requested.push_back(url);
        auto found = resources.find(url);
        current = found == resources.end() ? nullptr : &found->second;
        offset = 0;
        return current != nullptr;
    }
    RawHeaderAnswer QueryRawHeaders(std::size_t) override {
        std::string block = "HTTP/1.1 " + std::to_string(current->status) + " X\0"s;
        if (current->announce)
            block += "Content-Length: " + std::to_string(current->announced.value_or(current->body.size())) + "\0"s;
        return {RawHeaderAnswer::Result::Ok, block + "\0"s, 0};
    }
    std::optional<int> StatusCode() override { return current->status; }
    ReadAnswer Read(char* buffer, std::size_t size) override {
        if (!current) return {0, false};
        std::size_t count = std::min(size, current->body.size() - offset);
        current->body.copy(buffer, count, offset);
        offset += count;
        return {count, true};
    }
    void Close() override { current = nullptr; }
};

std::string VersionFile(const std::string& version, const std::string& extra = "") {
    return "[Ver]\r\nVer=" + version + "\r\n" + extra;
}
std::string Program(std::size_t size) {
    std::string bytes;
    for (std::size_t i = 0; i < size; ++i) bytes += static_cast<char>(i * 7 % 251);
    return bytes;
}
std::string In(const std::string& name) { return kDir + name; }

class UpdaterFormTest : public ::testing::Test {
protected:
    fakes::MemoryFolder folder;
    fakes::IdentityCodec codec;
    RecordingLauncher launcher;
    RecordingMessages messages;
    FakeServer server;
    PortableSha256Factory sha;
    FakeKey key;
    UpdaterForm form{UpdaterPorts{folder, codec, launcher, messages, server, folder, sha, key}, kDir};
    std::vector<std::string> counters;

    void SetUp() override {
        folder.files[In("\\Upsetting.ini")] = kVersionUrl + "\r\n\\temp\\vr.ini\r\n" + kProgramUrl + "\r\n\\kelvo.exe\r\n";
        folder.files[In("\\kelvo.exe")] = "old program";
        folder.files[In("\\vr.ini")] = VersionFile("1.9");
        form.Changed = [this] {
            if (counters.empty() || counters.back() != form.L.caption) counters.push_back(form.L.caption);
        };
    }
    // A release: the program and its version file signed by the release key.
    void Publish(const std::string& version, const std::string& program) {
        PublishFile(SignedFile(version, program), program);
    }
    void PublishFile(const std::string& versionFile, const std::string& program) {
        server.resources[kVersionUrl].body = versionFile;
        server.resources[kProgramUrl].body = program;
    }
    // Counter texts shown from now on.
    void StartCounting() { counters = {form.L.caption}; }
    std::vector<std::string> Counted() const { return {counters.begin() + 1, counters.end()}; }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const Shown& s : messages.shown) texts.push_back(s.text);
        return texts;
    }
};

TEST_F(UpdaterFormTest, LoadingReadsTheMainServerSettingsAndDisablesUpdate) {
    form.Form_Load();
    EXPECT_EQ(form.T1.caption, kVersionUrl);
    EXPECT_EQ(form.T2.caption, "C:\\Varnic\\temp\\vr.ini");
    EXPECT_EQ(form.ProgramUrl, kProgramUrl);
    EXPECT_EQ(form.ProgramFile, "C:\\Varnic\\kelvo.exe");
    EXPECT_FALSE(form.Command1.enabled);
    EXPECT_TRUE(form.Command2.enabled);
    EXPECT_TRUE(form.Option1.value);
    EXPECT_FALSE(form.Option2.value);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(form.T1.visible);
    EXPECT_FALSE(form.T2.visible);
}

TEST_F(UpdaterFormTest, AMissingSettingsFileIsReportedAndTheBackupServerStillWorks) {
    folder.files.erase(In("\\Upsetting.ini"));
    form.Form_Load();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "加载在线更新配置文件错误！请恢复此文件或重新安装程序！");
    EXPECT_EQ(messages.shown[0].caption, "Varnic");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::None);
    EXPECT_EQ(form.T1.caption, "Text1");

    form.Command2_Click();
    EXPECT_EQ(messages.shown.back().text, "无法连接服务器");
    EXPECT_EQ(messages.shown.back().caption, "错误");
    EXPECT_EQ(messages.shown.back().icon, MessageIcon::Critical);
    EXPECT_FALSE(folder.Exists("Text1"));

    server.resources[kBackupVersionUrl].body = SignedFile("2.0", "new program");
    form.Option2_Click();
    form.Command2_Click();
    EXPECT_EQ(folder.files.at(In("\\temp\\vr.ini")), SignedFile("2.0", "new program"));
    EXPECT_TRUE(form.Command1.enabled);
    EXPECT_EQ(form.ProgramUrl, "http://backup.varnic.example/update/kelvo.exe");
    EXPECT_EQ(form.ProgramFile, In("\\kelvo.exe"));
}

TEST_F(UpdaterFormTest, AMissingSettingsFileKeepsThePreviousAddresses) {
    form.Form_Load();
    form.Option2_Click();
    folder.files.erase(In("\\Upsetting.ini"));
    form.Option1_Click();
    EXPECT_EQ(form.T1.caption, kBackupVersionUrl);
    EXPECT_EQ(form.ProgramUrl, kBackupProgramUrl);
    EXPECT_TRUE(form.Option1.value);
}

TEST_F(UpdaterFormTest, ChoosingTheMainServerAgainReloadsItsSettings) {
    form.Form_Load();
    form.Option2_Click();
    EXPECT_EQ(form.T1.caption, "http://backup.varnic.example/update/vr.ini");
    form.Option1_Click();
    EXPECT_EQ(form.T1.caption, kVersionUrl);
    EXPECT_EQ(form.ProgramUrl, kProgramUrl);
}

TEST_F(UpdaterFormTest, AShortSettingsFileLeavesNoProgramPathAndRefusesTheUpdate) {
    folder.files[In("\\Upsetting.ini")] = kVersionUrl + "\r\n\\temp\\vr.ini\r\n";
    Publish("2.0", Program(100));
    form.Form_Load();
    EXPECT_EQ(Texts(), (std::vector<std::string>{OutsidePathMessage(4, "")}));
    EXPECT_EQ(form.ProgramUrl, "");
    EXPECT_EQ(form.ProgramFile, "");
    form.Command2_Click();
    ASSERT_TRUE(form.Command1.enabled);
    form.Command1_Click();
    EXPECT_EQ(messages.shown.back().text, kNoLocalPath);
    EXPECT_EQ(server.requested, (std::vector<std::string>{kVersionUrl}));
    EXPECT_EQ(folder.files.at(In("\\kelvo.exe")), "old program");
}

TEST_F(UpdaterFormTest, LocalPathsThatLeaveTheInstallationFolderAreRefusedByLine) {
    for (const std::string bad : {"\\..\\kelvo.exe", "C:\\Windows\\kelvo.exe", "\\\\server\\share\\kelvo.exe",
                                  "/kelvo.exe", "\\temp/../../kelvo.exe", "\\temp\\..\\..\\x.exe"}) {
        messages.shown.clear();
        folder.files[In("\\Upsetting.ini")] = kVersionUrl + "\r\n" + bad + "\r\n" + kProgramUrl + "\r\n" + bad + "\r\n";
        form.LoadSetting();
        EXPECT_EQ(Texts(), (std::vector<std::string>{OutsidePathMessage(2, bad), OutsidePathMessage(4, bad)})) << bad;
        EXPECT_EQ(form.T2.caption, "") << bad;
        EXPECT_EQ(form.ProgramFile, "") << bad;
    }
    EXPECT_NE(OutsidePathMessage(2, "\\..\\x").find("第2行"), std::string::npos);
}

TEST(InstallFolderPathTest, OnlyNamesOfFilesInsideTheFolderPass) {
    for (const char* good : {"\\kelvo.exe", "\\temp\\vr.ini", "\\sub dir\\new kelvo.exe", "\\.hidden", "\\a..b"})
        EXPECT_TRUE(IsInsideInstallFolder(good)) << good;
    for (const char* bad : {"", "\\", "kelvo.exe", "\\..", "\\..\\x", "\\temp\\..\\..\\x", "\\.\\x", "\\...\\x",
                            "\\. .\\x", "\\\\server\\share", "\\temp\\\\x", "C:\\x", "\\x:stream", "/x", "\\temp/x",
                            "\\CON", "\\nul.txt", "\\temp\\COM1", "\\lpt9.ini", "\\x*", "\\x?", "\\a\tb", "\\x|y",
                            "\\temp\\"})
        EXPECT_FALSE(IsInsideInstallFolder(bad)) << bad;
    EXPECT_TRUE(IsInsideInstallFolder("\\COM10"));
    EXPECT_TRUE(IsInsideInstallFolder("\\console.exe"));
}

TEST_F(UpdaterFormTest, TheCheckShowsBothVersionsAndEnablesUpdateOnlyForAStrictlyNewerNumber) {
    struct Case {
        std::optional<std::string> installed, latest;
        const char* shownInstalled;
        const char* shownLatest;
        bool newer;
    };
    for (const Case& c : {
             Case{"1.9", "2.0", "1.9", "2.0", true},
             Case{"1.9", "1.9", "1.9", "1.9", false},
             Case{"1.9", "1.10", "1.9", "1.10", false},
             Case{"1.9", "1.9.5", "1.9", "1.9.5", false},
             Case{"1.8", "1.9.5", "1.8", "1.9.5", true},
             Case{std::nullopt, "1.9", "0", "1.9", true},
             Case{"1.9", std::nullopt, "1.9", "0", false},
             Case{"  1.9", "1.91 beta", "1.9", "1.91 beta", true},
         }) {
        UpdaterForm fresh(UpdaterPorts{folder, codec, launcher, messages, server, folder, sha, key}, kDir);
        fresh.Form_Load();
        if (c.installed) folder.files[In("\\vr.ini")] = VersionFile(*c.installed);
        else folder.files.erase(In("\\vr.ini"));
        server.resources[kVersionUrl].body = c.latest ? SignedFile(*c.latest, "new program") : "[Other]\r\nVer=9\r\n";
        fresh.pb1.value = 37;
        fresh.Command2_Click();
        EXPECT_EQ(fresh.Label4.caption, c.shownInstalled);
        EXPECT_EQ(fresh.Label5.caption, c.shownLatest);
        EXPECT_EQ(fresh.Command1.enabled, c.newer) << c.shownInstalled << " / " << c.shownLatest;
        EXPECT_EQ(fresh.pb1.value, 0);
    }
}

TEST_F(UpdaterFormTest, AFullUpdateCountsUpReplacesTheProgramAndRecordsTheNewVersion) {
    const std::string program = Program(196608);
    Publish("2.0", program);
    form.Form_Load();
    form.Command2_Click();
    ASSERT_TRUE(form.Command1.enabled);
    StartCounting();
    form.Command1_Click();

    const auto counted = Counted();
    ASSERT_EQ(counted.size(), 192u);
    EXPECT_EQ(counted[0], "1,024/196,608");
    EXPECT_EQ(counted[1], "2,048/196,608");
    EXPECT_EQ(counted.back(), "196,608/196,608");
    EXPECT_EQ(form.pb1.value, 100);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "下载成功！");
    EXPECT_EQ(messages.shown[0].caption, "提示");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(folder.files.at(In("\\kelvo.exe")), program);
    EXPECT_EQ(folder.files.at(In("\\vr.ini")), folder.files.at(In("\\temp\\vr.ini")));
    EXPECT_FALSE(form.Command1.enabled);

    form.Command2_Click();
    EXPECT_EQ(form.Label4.caption, form.Label5.caption);
    EXPECT_FALSE(form.Command1.enabled);
}

TEST_F(UpdaterFormTest, AnErrorStatusShowsTheStatusAndInstallsNothing) {
    Publish("2.0", "<html>not found</html>");
    form.Form_Load();
    form.Command2_Click();
    server.resources[kProgramUrl].status = 404;
    form.Command1_Click();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"服务器返回错误：HTTP 404"}));
    EXPECT_EQ(messages.shown[0].caption, "错误");
    EXPECT_EQ(folder.files.at(In("\\kelvo.exe")), "old program");
    EXPECT_EQ(folder.files.at(In("\\vr.ini")), VersionFile("1.9"));
}

TEST_F(UpdaterFormTest, AnErrorStatusOnTheVersionFileKeepsTheLastOne) {
    folder.files[In("\\temp\\vr.ini")] = VersionFile("1.9");
    Publish("2.0", "x");
    server.resources[kVersionUrl].status = 500;
    form.Form_Load();
    form.Command2_Click();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"服务器返回错误：HTTP 500"}));
    EXPECT_EQ(folder.files.at(In("\\temp\\vr.ini")), VersionFile("1.9"));
    EXPECT_FALSE(form.Command1.enabled);
}

TEST_F(UpdaterFormTest, AShortTransferKeepsTheInstalledProgram) {
    Publish("2.0", Program(5000));
    server.resources[kProgramUrl].announced = 196608;
    form.Form_Load();
    form.Command2_Click();
    form.Command1_Click();
    EXPECT_EQ(Texts(), (std::vector<std::string>{LengthMismatchMessage(5000, 196608)}));
    EXPECT_EQ(folder.files.at(In("\\kelvo.exe")), "old program");
    EXPECT_EQ(folder.files.at(In("\\vr.ini")), VersionFile("1.9"));
}

TEST_F(UpdaterFormTest, TheProgramMustMatchTheSignedSizeAndDigest) {
    const std::string program = Program(3000);
    struct Case {
        const char* what;
        Offer offer;
        std::string message;
    };
    for (const Case& c : {
             Case{"another digest", {"2.0", "3000", Sha256Of("another program")}, ChecksumMismatchMessage()},
             Case{"a shorter size", {"2.0", "2999", Sha256Of(program)}, SizeMismatchMessage(3000, 2999)},
             Case{"a longer size", {"2.0", "3001", Sha256Of(program)}, SizeMismatchMessage(3000, 3001)},
         }) {
        messages.shown.clear();
        PublishFile(SignedFile(c.offer, c.offer), program);
        form.Form_Load();
        form.Command2_Click();
        ASSERT_TRUE(form.Command1.enabled) << c.what;
        form.Command1_Click();
        EXPECT_EQ(Texts(), (std::vector<std::string>{c.message})) << c.what;
        EXPECT_EQ(folder.files.at(In("\\kelvo.exe")), "old program") << c.what;
        EXPECT_EQ(folder.files.at(In("\\vr.ini")), VersionFile("1.9")) << c.what;
    }

    // Names in any case, blanks around values and an upper-case digest read as the same offer.
    messages.shown.clear();
    PublishFile("[ver]\r\nver = 2.0\r\nsize = 3000\r\nSHA256=" + Upper(Sha256Of(program)) + "\r\nsignature=" +
                    Base64(FakeSignature("release", SignedUpdateMessage("2.0", 3000, Sha256Of(program)))) + "\r\n",
                program);
    form.Command2_Click();
    form.Command1_Click();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"下载成功！"}));
    EXPECT_EQ(folder.files.at(In("\\kelvo.exe")), program);
}

TEST_F(UpdaterFormTest, ARunningProgramIsReportedAndStays) {
    Publish("2.0", Program(3000));
    form.Form_Load();
    form.Command2_Click();
    folder.readOnly.insert(In("\\kelvo.exe"));
    form.Command1_Click();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"文件C:\\Varnic\\kelvo.exe正在使用,无法进行操作"}));
    EXPECT_EQ(folder.files.at(In("\\kelvo.exe")), "old program");
    EXPECT_TRUE(form.Command2.enabled);
}

TEST_F(UpdaterFormTest, AnUnknownLengthShowsTheCountWithAnEmptyTotalAndLeavesTheBar) {
    Publish("2.0", Program(1500));
    server.resources[kProgramUrl].announce = false;
    form.Form_Load();
    form.Command2_Click();
    StartCounting();
    form.Command1_Click();
    EXPECT_EQ(Counted(), (std::vector<std::string>{"1,024/", "1,500/"}));
    EXPECT_EQ(form.pb1.value, 0);
    EXPECT_EQ(folder.files.at(In("\\kelvo.exe")), Program(1500));
}

TEST_F(UpdaterFormTest, TheCounterFormatsBothSidesAndPrintsZeroAsNothing) {
    struct Case {
        std::int64_t received, total;
        const char* text;
    };
    for (const Case& c : {Case{1024, 196608, "1,024/196,608"}, Case{0, 0, "/"}, Case{0, 512, "/512"},
                          Case{1500, 0, "1,500/"}, Case{1234567890, 2000000000, "1,234,567,890/2,000,000,000"}})
        EXPECT_EQ(ProgressCounter(c.received, c.total), c.text);
}

TEST_F(UpdaterFormTest, ThePercentageRoundsHalvesToEvenAndNeverPassesOneHundred) {
    struct Case {
        std::int64_t received, total;
        std::optional<std::int32_t> percent;
    };
    for (const Case& c : {Case{1, 200, 0}, Case{3, 200, 2}, Case{5, 200, 2}, Case{7, 200, 4}, Case{1024, 196608, 1},
                          Case{196608, 196608, 100}, Case{197632, 196608, 100}, Case{0, 100, 0},
                          Case{3000000000LL, 4000000000LL, 75}, Case{50, 0, std::nullopt},
                          Case{50, -1, std::nullopt}})
        EXPECT_EQ(ProgressPercent(c.received, c.total), c.percent) << c.received << "/" << c.total;
}

TEST_F(UpdaterFormTest, TheAnnouncedLengthIsReadAsAWholeNumberOrUnknown) {
    EXPECT_EQ(AnnouncedSize("196608"), 196608);
    EXPECT_EQ(AnnouncedSize(" 42 "), 42);
    EXPECT_EQ(AnnouncedSize("0"), 0);
    EXPECT_EQ(AnnouncedSize(""), 0);
    EXPECT_EQ(AnnouncedSize("12abc"), 0);
    EXPECT_EQ(AnnouncedSize("-5"), 0);
    EXPECT_EQ(AnnouncedSize("99999999999999999999"), 0);
}

TEST_F(UpdaterFormTest, ClosingStartsKelvoInTheTrayExactlyOnce) {
    form.Form_Load();
    form.Form_Unload();
    form.Form_Unload();
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0].program, "C:\\Varnic\\kelvo.exe");
    EXPECT_EQ(launcher.started[0].commandLine, "C:\\Varnic\\kelvo.exe -sendme");
    EXPECT_EQ(launcher.started[0].show, ShowWindow::Minimized);
}

TEST_F(UpdaterFormTest, AFolderWithBlanksIsQuotedOnKelvosCommandLine) {
    UpdaterForm spaced(UpdaterPorts{folder, codec, launcher, messages, server, folder, sha, key}, "C:\\Program Files\\Varnic");
    spaced.Form_Unload();
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0].commandLine, "\"C:\\Program Files\\Varnic\\kelvo.exe\" -sendme");
}

TEST_F(UpdaterFormTest, ExitAsksTheViewToClose) {
    int requests = 0;
    form.UnloadRequested = [&] { ++requests; };
    form.Form_Load();
    form.Command3_Click();
    EXPECT_EQ(requests, 1);
}

TEST_F(UpdaterFormTest, ClosingDuringTheDownloadCancelsItAndKeepsTheOldProgram) {
    Publish("2.0", Program(10000));
    form.Form_Load();
    form.Command2_Click();
    int yields = 0;
    form.Yield = [&] {
        if (++yields == 3) form.Form_Unload();
    };
    form.Command1_Click();
    EXPECT_EQ(folder.files.at(In("\\kelvo.exe")), "old program");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(launcher.started.size(), 1u);
}

TEST_F(UpdaterFormTest, ClicksThatArriveWhileATransferRunsAreIgnored) {
    Publish("2.0", Program(5000));
    form.Form_Load();
    form.Command2_Click();
    form.Yield = [&] {
        form.Command2_Click();
        form.Command1.enabled = true;
        form.Command1_Click();
    };
    const auto before = server.requested.size();
    form.Command1_Click();
    EXPECT_EQ(server.requested.size(), before + 1);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"下载成功！"}));
}

TEST_F(UpdaterFormTest, ADisabledUpdateButtonDoesNothing) {
    Publish("1.9", Program(100));
    form.Form_Load();
    form.Command2_Click();
    ASSERT_FALSE(form.Command1.enabled);
    const auto before = server.requested.size();
    form.Command1_Click();
    EXPECT_EQ(server.requested.size(), before);
    EXPECT_EQ(folder.files.at(In("\\kelvo.exe")), "old program");
}

// What "检查新版本" makes of the server's version file: only a file signed by the release key
// over its Ver, Size and Sha256, with a version newer than the installed one, offers "更新".
TEST_F(UpdaterFormTest, OnlyANewerVersionSignedByTheReleaseKeyOffersTheUpdate) {
    const std::string program = Program(3000);
    const Offer good = OfferFor("2.0", program);
    Offer otherVersion = good, otherSize = good, otherDigest = good;
    otherVersion.version = "3.0";
    otherSize.size = "3001";
    otherDigest.sha256 = Sha256Of("another program");
    std::string flipped = SignedFile(good, good);
    char& letter = flipped[flipped.find("Signature=") + 12];
    letter = letter == 'A' ? 'B' : 'A';  // still base64, another signature
    const std::string unsigned_ = "[Ver]\r\nVer=2.0\r\nSize=3000\r\nSha256=" + good.sha256 + "\r\n";
    const std::string signedOnlyElsewhere = "[Ver]\r\nVer=2.0\r\n[Other]\r\nSignature=" +
                                            Base64(FakeSignature("release", SignedUpdateMessage("2.0", 3000, good.sha256))) +
                                            "\r\n";
    const std::string kBad = "版本文件签名无效，已拒绝更新。";
    const std::string kUnsigned = "版本文件没有签名，已拒绝更新。";
    const std::string kIncomplete = "版本文件缺少有效的版本号、大小、SHA-256 或签名，已拒绝更新。";
    struct Case {
        const char* what;
        std::string file;
        bool offered;
        std::string message;  // "" when none
    };
    for (const Case& c : {
             Case{"signed and newer", SignedFile(good, good), true, ""},
             Case{"signed, older", SignedFile(OfferFor("1.8", program), OfferFor("1.8", program)), false, ""},
             Case{"signed, equal", SignedFile(OfferFor("1.9", program), OfferFor("1.9", program)), false, ""},
             Case{"signed, equal by number", SignedFile(OfferFor("1.90", program), OfferFor("1.90", program)), false, ""},
             Case{"no signature", unsigned_, false, kUnsigned},
             Case{"signature outside section Ver", signedOnlyElsewhere, false, kUnsigned},
             Case{"empty file", "", false, kUnsigned},
             Case{"signed by another key", SignedFile(good, good, "someone else"), false, kBad},
             Case{"altered signature", flipped, false, kBad},
             Case{"altered version", SignedFile(otherVersion, good), false, kBad},
             Case{"altered size", SignedFile(otherSize, good), false, kBad},
             Case{"altered digest", SignedFile(otherDigest, good), false, kBad},
             Case{"signature that is no base64", unsigned_ + "Signature=@@@@\r\n", false, kIncomplete},
             Case{"no digest", "[Ver]\r\nVer=2.0\r\nSize=3000\r\nSignature=AAAA\r\n", false, kIncomplete},
             Case{"no size", SignedFile({"2.0", "", good.sha256}, good), false, kIncomplete},
             Case{"damaged digest", SignedFile({"2.0", "3000", "1234"}, good), false, kIncomplete},
             Case{"negative size", SignedFile({"2.0", "-3000", good.sha256}, good), false, kIncomplete},
         }) {
        messages.shown.clear();
        PublishFile(c.file, program);
        UpdaterForm fresh(UpdaterPorts{folder, codec, launcher, messages, server, folder, sha, key}, kDir);
        fresh.Form_Load();
        fresh.Command2_Click();
        EXPECT_EQ(fresh.Command1.enabled, c.offered) << c.what;
        EXPECT_EQ(Texts(), c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message})
            << c.what;
        if (!c.message.empty()) {
            EXPECT_EQ(messages.shown[0].caption, "错误") << c.what;
            EXPECT_FALSE(folder.Exists(In("\\temp\\vr.ini"))) << c.what << ": a refused file is not kept";
        }
        fresh.Command1_Click();
        EXPECT_EQ(folder.files.at(In("\\kelvo.exe")), c.offered ? program : "old program") << c.what;
        EXPECT_EQ(folder.files.at(In("\\vr.ini")), c.offered ? c.file : VersionFile("1.9")) << c.what;
        folder.files[In("\\kelvo.exe")] = "old program";
        folder.files[In("\\vr.ini")] = VersionFile("1.9");
    }
}

TEST_F(UpdaterFormTest, TheSignatureCoversTheCanonicalMessage) {
    const std::string program = Program(3000);
    Publish("2.0", program);
    form.Form_Load();
    form.Command2_Click();
    EXPECT_EQ(key.lastMessage, "Varnic update\nVer=2.0\nSize=3000\nSha256=" + Sha256Of(program) + "\n");
}

TEST_F(UpdaterFormTest, ASystemThatCannotCheckSignaturesInstallsNothing) {
    key.available = false;
    Publish("2.0", Program(100));
    form.Form_Load();
    form.Command2_Click();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"系统无法验证版本文件的签名，已拒绝更新。"}));
    EXPECT_FALSE(form.Command1.enabled);
}

TEST_F(UpdaterFormTest, ARefusedCheckWithdrawsAnEarlierOffer) {
    Publish("2.0", Program(100));
    form.Form_Load();
    form.Command2_Click();
    ASSERT_TRUE(form.Command1.enabled);
    PublishFile("[Ver]\r\nVer=3.0\r\n", Program(200));
    form.Command2_Click();
    EXPECT_FALSE(form.Command1.enabled);
    form.Command1.enabled = true;  // even a button enabled by mistake installs nothing
    form.Command1_Click();
    EXPECT_EQ(folder.files.at(In("\\kelvo.exe")), "old program");
    EXPECT_EQ(server.requested.size(), 2u);
}

TEST_F(UpdaterFormTest, AnOlderSignedCheckWithdrawsAnEarlierOfferSilently) {
    Publish("2.0", Program(100));
    form.Form_Load();
    form.Command2_Click();
    ASSERT_TRUE(form.Command1.enabled);
    Publish("1.5", Program(200));
    form.Command2_Click();
    EXPECT_FALSE(form.Command1.enabled);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(form.Label5.caption, "1.5");
}

TEST_F(UpdaterFormTest, TheInstalledVersionFileIsExactlyTheCheckedOne) {
    const std::string program = Program(3000);
    Publish("2.0", program);
    form.Form_Load();
    form.Command2_Click();
    const std::string checked = folder.files.at(In("\\temp\\vr.ini"));
    // Whatever happens to the downloaded copy between the check and the update...
    folder.files[In("\\temp\\vr.ini")] = "[Ver]\r\nVer=99\r\n";
    form.Command1_Click();
    EXPECT_EQ(folder.files.at(In("\\kelvo.exe")), program);
    EXPECT_EQ(folder.files.at(In("\\vr.ini")), checked);
}

TEST_F(UpdaterFormTest, AReplayedReleaseOffersNothingOnceInstalled) {
    const std::string program = Program(3000);
    Publish("2.0", program);
    form.Form_Load();
    form.Command2_Click();
    form.Command1_Click();
    ASSERT_EQ(folder.files.at(In("\\kelvo.exe")), program);
    // The same signed file again, or the signed file of an earlier release.
    for (const char* version : {"2.0", "1.9"}) {
        folder.files[In("\\kelvo.exe")] = program;
        Publish(version, Program(50));
        form.Command2_Click();
        EXPECT_FALSE(form.Command1.enabled) << version;
        form.Command1.enabled = true;
        form.Command1_Click();
        EXPECT_EQ(folder.files.at(In("\\kelvo.exe")), program) << version;
    }
}

}  // namespace
}  // namespace varnic

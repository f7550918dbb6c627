// The updater window's model driven as the user would over an in-memory folder and a fake server;
// and the version files it reads: INI lookup, version text, signed file, base64.
#include "updater/updater_form.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fakes.h"
#include "updater/ini_reader.h"
#include "updater/update_settings.h"
#include "updater/updater_texts.h"
#include "updater/version_files.h"
#include "updater_fakes.h"

namespace varnic {
namespace {

using namespace fakes;
using Texts = std::vector<std::string>;

const std::string kVersionUrl = "http://update.varnic.example/update/vr.ini";
const std::string kProgramUrl = "http://update.varnic.example/update/kelvo.exe";
const std::string kBackupVersionUrl = "http://backup.varnic.example/update/vr.ini";
const std::string kInstalled = "[Ver]\r\nVer=1.9\r\n", kError = "box 错误 (critical): ";

std::string In(const std::string& name) { return "C:\\Varnic" + name; }

class UpdaterFormTest : public ::testing::Test {
protected:
    MemoryFolder folder;
    IdentityCodec codec;
    CallLog log;
    FakeSystem sys{log};  // the launcher and the message boxes
    FakeServer server;
    PortableSha256Factory sha;
    FakeKey key;
    std::unique_ptr<UpdaterForm> form = Fresh();
    Texts counters;  // the counter's texts as shown, in order

    std::unique_ptr<UpdaterForm> Fresh(const std::string& folderPath = "C:\\Varnic") {
        folder.files[In("\\Upsetting.ini")] = kVersionUrl + "\r\n\\temp\\vr.ini\r\n" + kProgramUrl + "\r\n\\kelvo.exe\r\n";
        folder.files[In("\\kelvo.exe")] = "old program";
        folder.files[In("\\vr.ini")] = kInstalled;
        auto made = std::make_unique<UpdaterForm>(
            UpdaterPorts{folder, codec, sys, sys, server, folder, sha, key, server}, folderPath, "1.9");
        made->Changed = [this, f = made.get()] {
            if (counters.empty() || counters.back() != f->L.caption) counters.push_back(f->L.caption);
        };
        return made;
    }
    void Publish(const std::string& versionFile, const std::string& program, Resource programResource = {}) {
        server.resources[kVersionUrl] = {versionFile};
        programResource.body = program;
        server.resources[kProgramUrl] = programResource;
        log.calls.clear();
    }
};

TEST_F(UpdaterFormTest, TheServersAddressesComeFromTheSettingsFileOrAreBuiltIn) {
    auto addresses = [&] { return Texts({form->T1.caption, form->T2.caption, form->ProgramUrl, form->ProgramFile}); };
    form->Form_Load();
    EXPECT_EQ(addresses(), Texts({kVersionUrl, In("\\temp\\vr.ini"), kProgramUrl, In("\\kelvo.exe")}));
    EXPECT_TRUE(form->Option1.value && !form->Command1.enabled && !form->T1.visible && !form->T2.visible);
    form->Option2_Click();
    EXPECT_EQ(addresses(), Texts({kBackupVersionUrl, In("\\temp\\vr.ini"), "http://backup.varnic.example/update/kelvo.exe",
                                  In("\\kelvo.exe")}));
    folder.files.erase(In("\\Upsetting.ini"));
    form->Option1_Click();  // nothing to load: the addresses stay
    EXPECT_EQ(form->T1.caption + (form->Option1.value ? " main" : ""), kBackupVersionUrl + " main");
    EXPECT_EQ(log.Of("box"), Texts{"box Varnic: 加载在线更新配置文件错误！请恢复此文件或重新安装程序！"});
}

TEST_F(UpdaterFormTest, LocalPathsOutsideTheInstallationFolderAreRefusedByLine) {
    for (const std::string bad : {"", "\\..\\kelvo.exe", "short"}) {
        Publish(key.Signed("2.0", "new"), "new");
        folder.files[In("\\Upsetting.ini")] = bad == "short" ? kVersionUrl + "\r\nshort\r\n"  // two lines only
                                                            : kVersionUrl + "\r\n" + bad + "\r\n" + kProgramUrl + "\r\n" + bad + "\r\n";
        form->Form_Load();
        EXPECT_EQ(log.Of("box"),
                  Texts({kError + OutsidePathMessage(2, bad), kError + OutsidePathMessage(4, bad == "short" ? "" : bad)}));
        form->Command2_Click();
        form->Command1_Click();
        EXPECT_EQ(log.Of("box").back(), kError + "没有可用的保存位置：请检查 \\Upsetting.ini 或改用“备用服务器”") << bad;
        EXPECT_TRUE(server.calls.empty()) << bad;
    }
    EXPECT_EQ(OutsidePathMessage(4, "\\..\\x"), "在线更新配置文件 \\Upsetting.ini 第4行的本地路径“\\..\\x”不是安装目录中的文件，已拒绝使用");
    for (const char* good : {"\\kelvo.exe", "\\temp\\vr.ini", "\\sub dir\\new kelvo.exe", "\\.hidden", "\\a..b", "\\COM10"})
        EXPECT_TRUE(IsInsideInstallFolder(good)) << good;
    for (const char* bad : {"\\", "kelvo.exe", "\\..", "\\temp\\..\\..\\x", "\\.\\x", "\\...\\x", "\\. .\\x", "\\\\server\\x",
                            "\\temp\\\\x", "\\x:stream", "\\temp/x", "\\CON", "\\nul.txt", "\\temp\\COM1", "\\lpt9.ini",
                            "\\x*", "\\x?", "\\a\tb", "\\x|y", "\\temp\\"})
        EXPECT_FALSE(IsInsideInstallFolder(bad)) << bad;
}

// This program's own version is 1.9 here.
TEST_F(UpdaterFormTest, TheCheckOffersOnlyASignedVersionNewerThanTheInstalledAndTheBuiltIn) {
    const std::string program = Pattern(3000), size = "3000", sha = Sha256Of(program);
    const std::string good = key.Signed("2.0", program);
    struct Row {
        const char* installed;  // "": no \vr.ini
        std::string served;
        Texts labels;           // Label4, Label5 ("-": the text it had before)
        bool offered;
        std::string message = "";
        bool verifiable = true;  // whether the system can check signatures
    };
    for (const Row& row : std::initializer_list<Row>{
             {"1.9", good, {"1.9", "2.0"}, true},
             {"1.9", key.Signed("1.9", program), {"1.9", "1.9"}, false},
             {"1.9", key.Signed("1.10", program), {"1.9", "1.10"}, false},
             {"1.8", key.Signed("1.9.5", program), {"1.8", "1.9.5"}, false},
             {"  1.9", key.Signed("1.91 beta", program), {"1.9", "1.91 beta"}, true},
             {"", good, {"0", "2.0"}, true},
             {"", key.Signed("1.5", program), {"0", "1.5"}, false},
             {"3.0", key.Signed("2.5", program), {"3.0", "2.5"}, false},
             {"1.9", VersionFile("2.0", size, sha, ""), {"1.9", "-"}, false, "版本文件没有签名，已拒绝更新。"},
             {"1.9", VersionFile("3.0", size, sha), {"1.9", "-"}, false, "版本文件签名无效，已拒绝更新。"},
             {"1.9", VersionFile("2.0", "-3000", sha), {"1.9", "-"}, false, "版本文件缺少有效的版本号、大小、SHA-256 或签名，已拒绝更新。"},
             {"1.9", good + ";" + std::string(70000, 'x'), {"", "-"}, false, OverLimitMessage(65536)},
             {"1.9", good, {"1.9", "-"}, false, "系统无法验证版本文件的签名，已拒绝更新。", false},
         }) {
        form = Fresh(), key.available = row.verifiable;
        if (*row.installed) folder.files[In("\\vr.ini")] = "[Ver]\r\nVer=" + std::string(row.installed);
        else folder.files.erase(In("\\vr.ini"));
        folder.files[In("\\temp\\vr.ini")] = "earlier";
        Publish(row.served, program);
        form->Form_Load();
        form->Label5.caption = "-";
        form->pb1.value = 37;
        form->Command2_Click();
        const std::string what = row.installed + std::string(" / ") + row.labels[1] + " " + row.message;
        EXPECT_EQ(Texts({form->Label4.caption, form->Label5.caption}), row.labels) << what;
        EXPECT_EQ(form->Command1.enabled, row.offered) << what;
        EXPECT_EQ(log.Of("box"), row.message.empty() ? Texts{} : Texts{kError + row.message}) << what;
        EXPECT_EQ(folder.files[In("\\temp\\vr.ini")] == row.served, row.message.empty()) << what << ": refused, not kept";
        EXPECT_EQ(form->pb1.value, row.labels[0].empty() ? 37 : 0) << what << ": back to 0 once the file is in";
    }
}

TEST_F(UpdaterFormTest, AnUpdateCountsUpInstallsTheProgramAndRecordsTheCheckedVersion) {
    const std::string program = Pattern(196608), release = key.Signed("2.0", program);
    form->Form_Load();
    Publish(release, Pattern(1500), {.announced = -1});  // not the signed program, and no length
    form->Command2_Click();
    form->Command1_Click();
    EXPECT_EQ(log.Of("box"), Texts{kError + SizeMismatchMessage(1500, 196608)});
    EXPECT_EQ(form->L.caption + " " + std::to_string(form->pb1.value), "1,500/ 0") << "the bar stays without a length";
    EXPECT_EQ(folder.files[In("\\kelvo.exe")] + folder.files[In("\\vr.ini")], "old program" + kInstalled);
    Publish(release, program, {.piece = 65536});
    form->Command2_Click();
    folder.files[In("\\temp\\vr.ini")] = "[Ver]\r\nVer=99\r\n";  // whatever happens to it meanwhile
    server.readMs = 40;
    counters = {form->L.caption};
    form->Command1_Click();
    EXPECT_EQ(counters, Texts({counters[0], "65,536/196,608", "131,072/196,608", "196,608/196,608"}));
    EXPECT_EQ(form->pb1.value, 100);
    EXPECT_EQ(log.Of("box"), Texts{"box 提示 (information): 下载成功！"});
    EXPECT_EQ(folder.files[In("\\kelvo.exe")] + folder.files[In("\\vr.ini")], program + release);
    EXPECT_TRUE(!form->Command1.enabled && form->Command2.enabled);
    form->Command1.enabled = true;  // even a button enabled by mistake fetches nothing more
    form->Command1_Click();
    EXPECT_EQ(std::count(server.calls.begin(), server.calls.end(), "OpenUrl " + kProgramUrl), 2) << "the failed and the good";
}

TEST(UpdaterProgressTest, TheCounterAndTheBarFollowTheAnnouncedLength) {
    for (auto [received, total, text] : {std::tuple{1024, 196608, "1,024/196,608"}, {0, 0, "/"}, {0, 512, "/512"},
                                         {1500, 0, "1,500/"}, {1234567890, 2000000000, "1,234,567,890/2,000,000,000"}})
        EXPECT_EQ(ProgressCounter(received, total), text);
    for (auto [received, total, value] : {std::tuple{1LL, 200LL, 0}, {3LL, 200LL, 2}, {5LL, 200LL, 2}, {7LL, 200LL, 4},
                                          {197632LL, 196608LL, 100}, {3000000000LL, 4000000000LL, 75}, {50LL, 0LL, -1},
                                          {50LL, -1LL, -1}})
        EXPECT_EQ(ProgressPercent(received, total).value_or(-1), value) << received << "/" << total;
    for (auto [header, size] : {std::pair{"196608", 196608}, {" 42 ", 42}, {"", 0}, {"12abc", 0}, {"-5", 0},
                                {"99999999999999999999", 0}})
        EXPECT_EQ(AnnouncedSize(header), size) << header;
}

TEST_F(UpdaterFormTest, ClosingStartsKelvoInTheTrayOnceAndCancelsARunningDownload) {
    form->UnloadRequested = [&] { form->Form_Unload(); };
    form->Form_Load();
    Publish(key.Signed("2.0", Pattern(300000)), Pattern(300000));
    form->Command2_Click();
    server.readMs = 50;
    form->Yield = [&] {
        form->Command2_Click();  // clicks that arrive while the transfer yields do nothing
        form->Command1_Click();
        form->Command3_Click();  // while "退出" ends it, once
        form->Command3_Click();
    };
    form->Command1_Click();
    EXPECT_EQ(folder.files[In("\\kelvo.exe")] + folder.files[In("\\vr.ini")], "old program" + kInstalled);
    EXPECT_EQ(log.Of("box"), Texts{});
    EXPECT_EQ(std::count(server.calls.begin(), server.calls.end(), "OpenUrl " + kProgramUrl), 1);
    Fresh("C:\\Program Files\\Varnic")->Form_Unload();
    EXPECT_EQ(log.Of("start"), Texts({"start C:\\Varnic\\kelvo.exe [C:\\Varnic\\kelvo.exe -sendme] 2",  // minimized
                                     "start C:\\Program Files\\Varnic\\kelvo.exe [\"C:\\Program Files\\Varnic\\kelvo.exe\" -sendme] 2"}));
}

using std::nullopt;
using Found = std::optional<std::string>;

TEST(VersionFileTest, ValuesAreFoundAsThePrivateProfileReaderFindsThem) {
    for (auto [file, value] : {
             std::pair<const char*, Found>{"[Ver]\r\nVer=1.9\r\n", "1.9"}, {"[ver]\r\nVER=1.9", "1.9"},
             {"  [ Ver ]  \r\n  Ver  =   1.9 beta  \r\n", "1.9 beta"}, {"[Ver]\nVer=2.0\n", "2.0"}, {"[Ver]\rVer=2.0", "2.0"},
             {"[Ver]\r\nVer=\"1.9\"\r\n", "1.9"}, {"[Ver]\r\nVer=\"1.9\r\n", "\"1.9"}, {"[Ver]\r\nVer=\r\n", ""},
             {"[Ver]\r\n;Ver=3.0\r\nVer=1.9\r\n", "1.9"}, {"[Ver]\r\nVer=1.9\r\nVer=2.0\r\n", "1.9"},
             {"[Other]\r\nVer=3.0\r\n[Ver]\r\nVersion=4\r\nVer=1.9\r\n", "1.9"}, {"[Ver]\r\nSize=1\r\n[Ver]\r\nVer=1.9", nullopt},
             {"[Ver]\r\nVersion=1.9\r\n", nullopt}, {"[Other]\r\nVer=1.9\r\n", nullopt}, {"Ver=1.9\r\n", nullopt}, {"", nullopt}})
        EXPECT_EQ(ReadIniValue(file, "Ver", "Ver"), value) << file;
    struct MarkingCodec final : IdentityCodec {
        std::string ToUtf8(const std::string& ansi) override { return "<" + ansi + ">"; }
    } codec;
    FakeFileSystem files;
    files.files = {{"a", "[Ver]\r\nVer=1.9\r\n"}, {"long", "[Ver]\r\nVer=" + std::string(60, '7')}, {"no key", "[Ver]\r\n"}};
    for (auto [name, shown] : {std::pair{"a", "<1.9>"s}, {"long", "<" + std::string(49, '7') + ">"}, {"no key", "0"s}, {"none", "0"s}})
        EXPECT_EQ(ReadVersionText(files, codec, name), shown) << name;
}

TEST(VersionFileTest, TheVerifierJudgesTheCanonicalMessageOfAWellFormedFileOnly) {
    FakeKey key;
    const std::string sha = Sha256Of("program"), upper = "[ver]\r\nver = 2.0 beta\r\nSIZE=196608\r\nsha256=" +
                                                         sha.substr(0, 60) + "ABCD\r\nsignature=c2lnbmVk\r\n";
    key.signedMessages = {"Varnic update\nVer=2.0 beta\nSize=196608\nSha256=" + sha.substr(0, 60) + "abcd\n"};
    const UpdateVerdict verdict = VerifyVersionFile(upper, key);
    ASSERT_TRUE(verdict.update) << key.lastMessage;
    EXPECT_EQ(verdict.update->version + " " + std::to_string(verdict.update->size) + " " + verdict.update->fileBytes,
              "2.0 beta 196608 " + upper);
    for (auto [bytes, refusal] : std::initializer_list<std::pair<std::string, UpdateRefusal>>{
             {"", UpdateRefusal::Unsigned}, {VersionFile("2.0", "1", sha, ""), UpdateRefusal::Unsigned},
             {"[Ver]\r\nVer=2.0\r\n[Other]\r\nSignature=AQL/", UpdateRefusal::Unsigned},
             {VersionFile("", "1", sha), UpdateRefusal::Incomplete}, {VersionFile(std::string(50, '9'), "1", sha), UpdateRefusal::Incomplete},
             {VersionFile("2.0", "12k", sha), UpdateRefusal::Incomplete}, {VersionFile("2.0", "1234567890123456789", sha), UpdateRefusal::Incomplete},
             {VersionFile("2.0", "1", sha.substr(1)), UpdateRefusal::Incomplete}, {VersionFile("2.0", "1", "g" + sha.substr(1)), UpdateRefusal::Incomplete},
             {VersionFile("2.0", "1", sha, "abc"), UpdateRefusal::Incomplete},
             {VersionFile("2.0", "1", sha, std::string(1367, 'A') + "="), UpdateRefusal::Incomplete}}) {  // 1025 bytes
        key.lastMessage = "not asked";
        EXPECT_EQ(VerifyVersionFile(bytes, key).refusal, refusal) << bytes;
        EXPECT_EQ(key.lastMessage, "not asked") << bytes;
    }
    EXPECT_TRUE(VerifyVersionFile(key.Signed(std::string(49, '9'), ""), key).update) << "49 bytes are shown whole";
}

TEST(VersionFileTest, TheSignatureIsCanonicalPaddedBase64) {
    for (auto [text, bytes] : {std::pair<const char*, Found>{"TWFu", "Man"}, {"TWE=", "Ma"}, {"TQ==", "M"}, {"+/+/", "\xfb\xff\xbf"},
                               {"AAAAAA==", std::string(4, '\0')}, {"0909", "\xd3\xdd\x3d"}, {"", nullopt}, {"TWF", nullopt}, {"TW E=", nullopt},
                               {"TWE*", nullopt}, {"T===", nullopt}, {"TR==", nullopt}, {"TW=u", nullopt}, {"TWFu\r\n", nullopt}})
        EXPECT_EQ(DecodeBase64(text), bytes) << text;
}

}  // namespace
}  // namespace varnic

// The updater window's Win32 view: controls where the model places them, scaled to the DPI;
// the model's state reflected without echoing back; clicks forwarded; the close path.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>

#include "platform/win32/message_boxes.h"
#include "platform/win32/wide.h"
#include "updater/sha256.h"
#include "updater/win32/updater_window.h"

namespace varnic::win32 {
namespace {

struct MemoryFiles final : FileSystem, DownloadFiles {
    std::map<std::string, std::string> files;
    bool Exists(const std::string& path) override { return files.count(path) > 0; }
    std::optional<std::string> Read(const std::string& path, std::size_t) override {
        if (!files.count(path)) return std::nullopt;
        return files[path];
    }
    bool Write(const std::string& path, const std::string& bytes) override { return files[path] = bytes, true; }
    bool Copy(const std::string&, const std::string&) override { return false; }
    bool Delete(const std::string&) override { return false; }
    std::unique_ptr<PendingFile> Begin(const std::string&) override { return nullptr; }
};
struct SameCodec final : AnsiCodec {
    std::string ToUtf8(const std::string& s) override { return s; }
    std::string FromUtf8(const std::string& s) override { return s; }
};
struct Launches final : ProcessLauncher {
    std::vector<std::string> commandLines;
    bool Start(const std::string&, const std::string& commandLine, varnic::ShowWindow) override {
        commandLines.push_back(commandLine);
        return true;
    }
};
struct Boxes final : MessageBoxes {
    std::vector<std::string> texts;
    void Show(const std::string& text, const std::string&, MessageIcon) override { texts.push_back(text); }
};
struct NoNetwork final : HttpSession {
    bool Open(const std::string&) override { return false; }
    bool OpenUrl(const std::string&) override { return false; }
    RawHeaderAnswer QueryRawHeaders(std::size_t) override { return {}; }
    std::optional<int> StatusCode() override { return std::nullopt; }
    ReadAnswer Read(char*, std::size_t) override { return {0, false}; }
    void Close() override {}
};

std::string TextOf(HWND window) {
    wchar_t buffer[512] = {};
    GetWindowTextW(window, buffer, 512);
    return Utf8(buffer);
}

// The view never gets as far as a version file here.
struct TrustsNothing final : SignatureVerifier {
    SignatureCheck Verify(const std::string&, const std::string&) override { return SignatureCheck::Invalid; }
};

class UpdaterWindowTest : public ::testing::Test {
protected:
    MemoryFiles files;
    SameCodec codec;
    Launches launcher;
    Boxes boxes;
    NoNetwork network;
    PortableSha256Factory sha;
    TrustsNothing key;
    Win32MessageBoxes owner;
    UpdaterForm form{UpdaterPorts{files, codec, launcher, boxes, network, files, sha, key}, "C:\\Varnic"};
    std::unique_ptr<UpdaterWindow> window;

    void SetUp() override {
        files.files["C:\\Varnic\\Upsetting.ini"] =
            "http://127.0.0.1:1/vr.ini\r\n\\temp\\vr.ini\r\nhttp://127.0.0.1:1/kelvo.exe\r\n\\kelvo.exe\r\n";
        window = std::make_unique<UpdaterWindow>(GetModuleHandleW(nullptr), form, owner, UpdaterIcons{});
        ASSERT_TRUE(window->Create(SW_SHOWNOACTIVATE));
    }
    void TearDown() override {
        if (window->Handle()) DestroyWindow(window->Handle());
        window.reset();
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {}
    }
    HWND Child(int id) { return GetDlgItem(window->Handle(), id); }
    int Dpi() {
        HDC screen = GetDC(nullptr);
        int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        return dpi;
    }
    RECT PlaceOf(int id) {
        RECT r;
        GetWindowRect(Child(id), &r);
        MapWindowPoints(nullptr, window->Handle(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
};

TEST_F(UpdaterWindowTest, ControlsSitAtTheirTwipsPlacesScaledToTheScreen) {
    const int dpi = Dpi();
    auto px = [dpi](int twips) { return MulDiv(twips, dpi, 1440); };
    RECT client;
    GetClientRect(window->Handle(), &client);
    EXPECT_EQ(client.right, px(4860));
    EXPECT_EQ(client.bottom, px(2430));
    struct Case {
        int id;
        TwipsRect twips;
    };
    for (const Case& c : {Case{kUpdaterLabel8, {120, 120, 4695, 735}}, Case{kUpdaterOption2, {2760, 600, 1455, 255}},
                          Case{kUpdaterCommand1, {1920, 960, 1170, 420}}, Case{kUpdaterL, {2280, 1920, 2685, 240}},
                          Case{kUpdaterPb1, {120, 2160, 4695, 255}}}) {
        RECT r = PlaceOf(c.id);
        EXPECT_EQ(r.left, px(c.twips.left)) << c.id;
        EXPECT_EQ(r.top, px(c.twips.top)) << c.id;
        EXPECT_EQ(r.right - r.left, px(c.twips.width)) << c.id;
        EXPECT_EQ(r.bottom - r.top, px(c.twips.height)) << c.id;
    }
}

TEST_F(UpdaterWindowTest, TheLoadedWindowShowsItsCaptionsAndState) {
    EXPECT_EQ(TextOf(window->Handle()), "Varnic 在线更新");
    EXPECT_EQ(TextOf(Child(kUpdaterCommand2)), "检查新版本");
    EXPECT_EQ(TextOf(Child(kUpdaterLabel6)), "当前版本：");
    EXPECT_FALSE(IsWindowEnabled(Child(kUpdaterCommand1)));
    EXPECT_TRUE(IsWindowEnabled(Child(kUpdaterCommand2)));
    EXPECT_EQ(SendMessageW(Child(kUpdaterOption1), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_FALSE(IsWindowVisible(Child(kUpdaterT1)));
    EXPECT_FALSE(IsWindowVisible(Child(kUpdaterLabel2)));
    EXPECT_TRUE(IsWindowVisible(Child(kUpdaterL)));
    EXPECT_EQ(TextOf(Child(kUpdaterT1)), "http://127.0.0.1:1/vr.ini");
    EXPECT_EQ(TextOf(Child(kUpdaterPb1)), "0");
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(UpdaterWindowTest, ModelChangesAreReflectedWithoutRunningHandlers) {
    form.L.caption = "1,024/2,048";
    form.pb1.value = 50;
    form.Command1.enabled = true;
    form.Option1.value = false;
    form.Option2.value = true;
    form.Changed();
    EXPECT_EQ(TextOf(Child(kUpdaterL)), "1,024/2,048");
    EXPECT_EQ(TextOf(Child(kUpdaterPb1)), "50");
    EXPECT_TRUE(IsWindowEnabled(Child(kUpdaterCommand1)));
    EXPECT_EQ(SendMessageW(Child(kUpdaterOption2), BM_GETCHECK, 0, 0), BST_CHECKED);
    // Option2_Click would have put the backup server's address in T1.
    EXPECT_EQ(form.T1.caption, "http://127.0.0.1:1/vr.ini");
}

TEST_F(UpdaterWindowTest, ClicksReachTheModel) {
    SendMessageW(Child(kUpdaterOption2), BM_CLICK, 0, 0);
    EXPECT_EQ(form.T1.caption, "http://backup.varnic.example/update/vr.ini");
    EXPECT_EQ(SendMessageW(Child(kUpdaterOption2), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(Child(kUpdaterOption1), BM_GETCHECK, 0, 0), BST_UNCHECKED);

    SendMessageW(Child(kUpdaterCommand2), BM_CLICK, 0, 0);
    EXPECT_EQ(boxes.texts, (std::vector<std::string>{"无法创建连接"}));

    SendMessageW(Child(kUpdaterCommand1), BM_CLICK, 0, 0);  // disabled: nothing happens
    EXPECT_EQ(boxes.texts.size(), 1u);
}

TEST_F(UpdaterWindowTest, ExitClosesTheWindowAndStartsKelvoOnce) {
    SendMessageW(Child(kUpdaterCommand3), BM_CLICK, 0, 0);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);  // until the WM_QUIT of the close
    EXPECT_EQ(window->Handle(), nullptr);
    EXPECT_EQ(launcher.commandLines, (std::vector<std::string>{"C:\\Varnic\\kelvo.exe -sendme"}));
}

TEST_F(UpdaterWindowTest, AQuitSeenWhilePumpingIsLeftForTheMainLoop) {
    PostQuitMessage(7);
    window->PumpMessages();
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);
}

}  // namespace
}  // namespace varnic::win32

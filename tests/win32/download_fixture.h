// What the WinINet download tests start from: a DownLoad over the real session into
// "kelvo.exe" of a scratch folder, where "old program" stands, with every event recorded.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "local_test_server.h"
#include "platform/win32/wide.h"
#include "scratch_folder.h"
#include "updater/download.h"
#include "updater/win32/cryptoapi_sha256.h"
#include "updater/win32/win32_download_files.h"
#include "updater/win32/wininet_session.h"

namespace varnic::win32::testing {

class DownloadFixture : public ::testing::Test {
protected:
    DownloadFixture() {
        WriteFileBytes(target, "old program");
        tg.GetData = [this](std::int64_t count) { received.push_back(count); };
        tg.DownLoadOver = [this] { ++over; };
        tg.ErrMassage = [this](const std::string& message) { errors.push_back(message); };
    }

    // Connects to `url` and reads its headers, ready for StartDownLoad.
    void Connect(const std::string& url) {
        tg.URL(url);
        tg.SaveFile(target);
        tg.Execute();
    }

    void ExpectOldProgramKept() {
        EXPECT_EQ(over, 0);
        EXPECT_EQ(ReadFileBytes(target), "old program");
        EXPECT_EQ(GetFileAttributesW(Wide(Win32DownloadFiles::TemporaryName(target)).c_str()), INVALID_FILE_ATTRIBUTES);
    }

    ScratchFolder folder{"download"};  // first in, last out: nothing of the download outlives it
    std::string target = folder / "kelvo.exe";
    WinInetSession session;
    Win32DownloadFiles files;
    CryptoApiSha256Factory sha;
    DownLoad tg{session, files, sha};
    std::vector<std::int64_t> received;
    std::vector<std::string> errors;
    int over = 0;
};

}  // namespace varnic::win32::testing

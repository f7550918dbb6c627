// What the WinINet tests share: the scripted test server (tests/e2e/http_server.py) started on
// 127.0.0.1 from inside Wine, and small file and pattern helpers.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/win32/wide.h"

namespace varnic::win32::testing {

inline std::string EnvironmentValue(const char* name, const std::string& fallback) {
    char value[1024];
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return (length == 0 || length >= sizeof value) ? fallback : std::string(value, length);
}

// Bytes that differ from their neighbours, so a shifted or repeated piece shows.
inline std::string Pattern(std::size_t count) {
    std::string bytes(count, '\0');
    for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>((i * 7) % 251);
    return bytes;
}

inline std::string ReadFileBytes(const std::string& path) {
    std::ifstream file(std::filesystem::path(Wide(path)), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(std::filesystem::path(Wide(path)), std::ios::binary) << bytes;
}

// Starts the test server with `options` for at most `maxSeconds` and answers its port, or 0
// when it did not start. It tells its port through a file under /tmp (drive Z: inside Wine);
// the server ends on a request for /quit.
inline int StartLocalServer(const std::string& name, const std::string& options, int maxSeconds) {
    const std::string python = EnvironmentValue("VARNIC_PYTHON", "/usr/bin/python3");
    const std::string source = EnvironmentValue("VARNIC_SOURCE", "");
    if (source.empty()) return 0;
    const std::string base = "varnic-" + name + "-" + std::to_string(GetCurrentProcessId()) + ".port";
    const std::string portFile = "Z:\\tmp\\" + base;
    DeleteFileW(Wide(portFile).c_str());
    std::wstring command = Wide(python + " " + source + "/tests/e2e/http_server.py --max-seconds " +
                                std::to_string(maxSeconds) + " --port-file /tmp/" + base + " " + options);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 0;
    // Wine gives no usable handles for a Linux process.
    if (process.hThread) CloseHandle(process.hThread);
    if (process.hProcess) CloseHandle(process.hProcess);
    int port = 0;
    for (int waited = 0; waited < 600 && port == 0; ++waited) {
        std::string text = ReadFileBytes(portFile);
        if (!text.empty())
            port = std::atoi(text.c_str());
        else
            Sleep(50);
    }
    DeleteFileW(Wide(portFile).c_str());
    return port;
}

}  // namespace varnic::win32::testing

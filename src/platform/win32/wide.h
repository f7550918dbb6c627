// UTF-8 (the core's texts) to UTF-16 (the W functions) and back.
#pragma once

#include <string>

namespace varnic::win32 {

std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);

// The folder of the running executable, without a trailing backslash.
std::string ApplicationDirectory();

}  // namespace varnic::win32

// The installation folder's files through the W functions: existence as a plain directory
// listing sees it, binary reads, atomic whole-file replacement, copy and delete.
#pragma once

#include "base/ports.h"

namespace varnic::win32 {

class Win32FileSystem final : public FileSystem {
public:
    bool Exists(const std::string& path) override;
    bool NameTaken(const std::string& path) override;
    std::optional<std::string> Read(const std::string& path, std::size_t maxBytes) override;
    bool Write(const std::string& path, const std::string& bytes) override;
    bool Copy(const std::string& from, const std::string& to) override;
    bool Delete(const std::string& path) override;
};

}  // namespace varnic::win32

// SHA-256 digests of downloaded files. The port lets Windows use its own cryptographic
// provider; PortableSha256 is a plain implementation of FIPS 180-4 for everywhere else.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace varnic {

class Sha256 {
public:
    virtual ~Sha256() = default;
    virtual void Add(const char* bytes, std::size_t count) = 0;
    // The digest of everything added, as 64 lower-case hex digits; "" when it cannot be had.
    virtual std::string HexDigest() = 0;
};

class Sha256Factory {
public:
    virtual ~Sha256Factory() = default;
    virtual std::unique_ptr<Sha256> Create() = 0;
};

class PortableSha256 final : public Sha256 {
public:
    PortableSha256();
    void Add(const char* bytes, std::size_t count) override;
    std::string HexDigest() override;

private:
    void Block(const unsigned char* block);

    std::array<std::uint32_t, 8> state_;
    std::array<unsigned char, 64> pending_{};
    std::size_t pendingCount_ = 0;
    std::uint64_t totalBytes_ = 0;
};

class PortableSha256Factory final : public Sha256Factory {
public:
    std::unique_ptr<Sha256> Create() override { return std::make_unique<PortableSha256>(); }
};

}  // namespace varnic

// Every text tarnel shows: the window's and the controls' captions, the message boxes'
// captions and messages, each with its Chinese and its English form.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/text_table.h"

namespace varnic {

enum class UpdaterText {
    kCaption,  // the window and its controls
    kInstructions,
    kMainServer,
    kBackupServer,
    kCheck,
    kUpdate,
    kExit,
    kInstalledVersion,
    kLatestVersion,
    kProgress,
    kAddress,  // caption of the hidden T1
    kSaveAs,   // caption of the hidden T2
    kErrorTitle,  // message boxes' captions
    kNoticeTitle,
    kUpdateSucceeded,  // messages of the window
    kUpdateSettingsMissing,
    kNoLocalPath,
    kOutsidePath,  // {1} line number, {2} the line
    kNoSession,    // messages of the download
    kNoConnection,
    kFileInUse,   // {1} path
    kHttpStatus,  // {1} status code
    kTransferBroken,
    kLengthMismatch,       // {1} bytes received, {2} announced
    kLongerThanAnnounced,  // {1} bytes announced
    kSizeMismatch,         // {1} bytes received, {2} expected
    kOverLimit,            // {1} the most bytes allowed
    kChecksumMismatch,
    kUnsignedVersionFile,  // why a version file was refused
    kIncompleteVersionFile,
    kBadSignature,
    kNoSignatureCheck,
    kCount
};

std::string_view Text(UpdaterText name, Language language);

// The messages that carry values; byte counts are grouped by thousands.
std::string OutsidePathMessage(int lineNumber, const std::string& line, Language language = Language::kChinese);
std::string FileInUseMessage(const std::string& path, Language language = Language::kChinese);
std::string HttpStatusMessage(int status, Language language = Language::kChinese);
std::string TransferBrokenMessage(Language language = Language::kChinese);
std::string LengthMismatchMessage(std::int64_t received, std::int64_t announced,
                                  Language language = Language::kChinese);  // fewer bytes
std::string LongerThanAnnouncedMessage(std::int64_t announced, Language language = Language::kChinese);
std::string SizeMismatchMessage(std::int64_t received, std::int64_t expected, Language language = Language::kChinese);
std::string OverLimitMessage(std::int64_t limit, Language language = Language::kChinese);
std::string ChecksumMismatchMessage(Language language = Language::kChinese);

}  // namespace varnic

// tarnel's texts, one row each: Chinese, then English. The English ones fit the controls the
// Chinese ones were laid out for.
#include "updater/updater_texts.h"

#include "base/numbers.h"

namespace varnic {
namespace {

using enum UpdaterText;

constexpr TextRow<UpdaterText> kRows[] = {
    {kCaption, "Varnic 在线更新", "Varnic online update"},
    {kInstructions, "请先点击“检查新版本”，待程序获取更新信息后，若有新版，再点击“更新”。",
     "First click \"Check\". When the server has a newer version, click \"Update\"."},
    {kMainServer, "主力服务器", "Main"},
    {kBackupServer, "备用服务器", "Backup"},
    {kCheck, "检查新版本", "Check"},
    {kUpdate, "更新", "Update"},
    {kExit, "退出", "Exit"},
    {kInstalledVersion, "当前版本：", "Installed:"},
    {kLatestVersion, "最新版本：", "Latest:"},
    {kProgress, "进度", "Bytes"},
    {kAddress, "下载地址", "Address"},
    {kSaveAs, "保存位置", "Save as"},
    {kErrorTitle, "错误", "Error"},
    {kNoticeTitle, "提示", "Information"},
    {kUpdateSucceeded, "下载成功！", "The download is complete."},
    {kUpdateSettingsMissing, "加载在线更新配置文件错误！请恢复此文件或重新安装程序！",
     "Cannot load the online update settings (Upsetting.ini). Restore the file or install the program again."},
    {kNoLocalPath, "没有可用的保存位置：请检查 \\Upsetting.ini 或改用“备用服务器”",
     "No place to save the download: check \\Upsetting.ini or choose \"Backup\"."},
    {kOutsidePath, "在线更新配置文件 \\Upsetting.ini 第{1}行的本地路径“{2}”不是安装目录中的文件，已拒绝使用",
     "Line {1} of the online update settings \\Upsetting.ini names \"{2}\", which is no file of the installation "
     "folder: it is not used."},
    {kNoSession, "无法创建连接", "Cannot open an Internet connection."},
    {kNoConnection, "无法连接服务器", "Cannot connect to the server."},
    {kFileInUse, "文件{1}正在使用,无法进行操作", "The file {1} is in use and cannot be written."},
    {kHttpStatus, "服务器返回错误：HTTP {1}", "The server answered with an error: HTTP {1}"},
    {kTransferBroken, "下载中断：与服务器的连接已断开，原文件保持不变",
     "The download broke off: the connection to the server was lost. The file is left as it was."},
    {kLengthMismatch, "下载不完整：收到 {1} 字节，服务器声明 {2} 字节，原文件保持不变",
     "The download is incomplete: {1} bytes arrived of the {2} the server announced. The file is left as it was."},
    {kLongerThanAnnounced, "下载的数据多于服务器声明的 {1} 字节，原文件保持不变",
     "The server sent more than the {1} bytes it announced. The file is left as it was."},
    {kSizeMismatch, "下载的文件大小不符：收到 {1} 字节，版本文件要求 {2} 字节，原文件保持不变",
     "The downloaded file has the wrong size: {1} bytes arrived, the version file asks for {2}. The file is left "
     "as it was."},
    {kOverLimit, "下载的文件超过 {1} 字节的上限，原文件保持不变",
     "The downloaded file is larger than the limit of {1} bytes. The file is left as it was."},
    {kChecksumMismatch, "下载的文件校验失败（SHA-256 不符），原文件保持不变",
     "The downloaded file failed its check (its SHA-256 differs). The file is left as it was."},
    {kUnsignedVersionFile, "版本文件没有签名，已拒绝更新。", "The version file is not signed: the update is refused."},
    {kIncompleteVersionFile, "版本文件缺少有效的版本号、大小、SHA-256 或签名，已拒绝更新。",
     "The version file lacks a valid version, size, SHA-256 or signature: the update is refused."},
    {kBadSignature, "版本文件签名无效，已拒绝更新。", "The version file's signature is not valid: the update is refused."},
    {kNoSignatureCheck, "系统无法验证版本文件的签名，已拒绝更新。",
     "Windows cannot check the version file's signature: the update is refused."},
};

constexpr TextTable kTexts(kRows);

std::string Count(std::int64_t bytes) { return bytes == 0 ? "0" : FormatGrouped(bytes); }

}  // namespace

std::string_view Text(UpdaterText name, Language language) { return kTexts(name, language); }

std::string OutsidePathMessage(int lineNumber, const std::string& line, Language language) {
    return Fill(Text(kOutsidePath, language), {Decimal(lineNumber), line});
}
std::string FileInUseMessage(const std::string& path, Language language) {
    return Fill(Text(kFileInUse, language), {path});
}
std::string HttpStatusMessage(int status, Language language) {
    return Fill(Text(kHttpStatus, language), {Decimal(status)});
}
std::string TransferBrokenMessage(Language language) { return std::string(Text(kTransferBroken, language)); }
std::string LengthMismatchMessage(std::int64_t received, std::int64_t announced, Language language) {
    return Fill(Text(kLengthMismatch, language), {Count(received), Count(announced)});
}
std::string LongerThanAnnouncedMessage(std::int64_t announced, Language language) {
    return Fill(Text(kLongerThanAnnounced, language), {Count(announced)});
}
std::string SizeMismatchMessage(std::int64_t received, std::int64_t expected, Language language) {
    return Fill(Text(kSizeMismatch, language), {Count(received), Count(expected)});
}
std::string OverLimitMessage(std::int64_t limit, Language language) {
    return Fill(Text(kOverLimit, language), {Count(limit)});
}
std::string ChecksumMismatchMessage(Language language) { return std::string(Text(kChecksumMismatch, language)); }

}  // namespace varnic

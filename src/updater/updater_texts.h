// Every text tarnel shows: the window's and the controls' captions, the message boxes'
// captions and messages. A second language touches this file and its .cpp only.
#pragma once

#include <cstdint>
#include <string>

namespace varnic {

// The window and its controls.
inline constexpr char kUpdaterCaption[] = "Varnic 在线更新";
inline constexpr char kInstructionsText[] = "请先点击“检查新版本”，待程序获取更新信息后，若有新版，再点击“更新”。";
inline constexpr char kMainServerText[] = "主力服务器";
inline constexpr char kBackupServerText[] = "备用服务器";
inline constexpr char kCheckText[] = "检查新版本";
inline constexpr char kUpdateText[] = "更新";
inline constexpr char kExitText[] = "退出";
inline constexpr char kInstalledVersionText[] = "当前版本：";
inline constexpr char kLatestVersionText[] = "最新版本：";
inline constexpr char kProgressText[] = "进度";
inline constexpr char kAddressText[] = "下载地址";  // caption of the hidden T1
inline constexpr char kSaveAsText[] = "保存位置";   // caption of the hidden T2
inline constexpr char kTextBoxText[] = "Text1";    // what T1 and T2 hold before any setting

// Message boxes: captions.
inline constexpr char kApplicationTitle[] = "Varnic";
inline constexpr char kErrorTitle[] = "错误";
inline constexpr char kNoticeTitle[] = "提示";

// Messages of the window.
inline constexpr char kUpdateSucceeded[] = "下载成功！";
inline constexpr char kUpdateSettingsMissing[] = "加载在线更新配置文件错误！请恢复此文件或重新安装程序！";
inline constexpr char kNoLocalPath[] = "没有可用的保存位置：请检查 \\Upsetting.ini 或改用“备用服务器”";
std::string OutsidePathMessage(int lineNumber, const std::string& line);

// Messages of the download.
inline constexpr char kNoSession[] = "无法创建连接";
inline constexpr char kNoConnection[] = "无法连接服务器";
std::string FileInUseMessage(const std::string& path);  // "文件" + path + "正在使用,无法进行操作"
std::string HttpStatusMessage(int status);
std::string TransferBrokenMessage();
std::string LengthMismatchMessage(std::int64_t received, std::int64_t announced);  // fewer bytes
std::string LongerThanAnnouncedMessage(std::int64_t announced);
std::string SizeMismatchMessage(std::int64_t received, std::int64_t expected);
std::string OverLimitMessage(std::int64_t limit);
std::string ChecksumMismatchMessage();

// Why a version file was refused.
inline constexpr char kUnsignedVersionFile[] = "版本文件没有签名，已拒绝更新。";
inline constexpr char kIncompleteVersionFile[] = "版本文件缺少有效的版本号、大小、SHA-256 或签名，已拒绝更新。";
inline constexpr char kBadSignature[] = "版本文件签名无效，已拒绝更新。";
inline constexpr char kNoSignatureCheck[] = "系统无法验证版本文件的签名，已拒绝更新。";

}  // namespace varnic

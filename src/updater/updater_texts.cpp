#include "updater/updater_texts.h"

#include "base/numbers.h"

namespace varnic {
namespace {

constexpr char kKept[] = "，原文件保持不变";

std::string Count(std::int64_t bytes) { return bytes == 0 ? "0" : FormatGrouped(bytes); }

}  // namespace

std::string OutsidePathMessage(int lineNumber, const std::string& line) {
    return "在线更新配置文件 \\Upsetting.ini 第" + Decimal(lineNumber) + "行的本地路径“" + line +
           "”不是安装目录中的文件，已拒绝使用";
}

std::string FileInUseMessage(const std::string& path) { return "文件" + path + "正在使用,无法进行操作"; }
std::string HttpStatusMessage(int status) { return "服务器返回错误：HTTP " + Decimal(status); }
std::string TransferBrokenMessage() { return std::string("下载中断：与服务器的连接已断开") + kKept; }
std::string LengthMismatchMessage(std::int64_t received, std::int64_t announced) {
    return "下载不完整：收到 " + Count(received) + " 字节，服务器声明 " + Count(announced) + " 字节" + kKept;
}
std::string LongerThanAnnouncedMessage(std::int64_t announced) {
    return "下载的数据多于服务器声明的 " + Count(announced) + " 字节" + kKept;
}
std::string SizeMismatchMessage(std::int64_t received, std::int64_t expected) {
    return "下载的文件大小不符：收到 " + Count(received) + " 字节，版本文件要求 " + Count(expected) + " 字节" + kKept;
}
std::string OverLimitMessage(std::int64_t limit) {
    return "下载的文件超过 " + Count(limit) + " 字节的上限" + kKept;
}
std::string ChecksumMismatchMessage() { return std::string("下载的文件校验失败（SHA-256 不符）") + kKept; }

}  // namespace varnic

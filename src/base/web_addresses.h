// Build constants: the web addresses the programs open. The hosts are placeholders under the
// reserved ".example" top-level domain until the project has a site of its own.
#pragma once

namespace varnic::web {

inline constexpr const char* kMakerSite = "http://www.varnic.example";
inline constexpr const char* kMakerBlog = "http://www.varnic.example/blog";
inline constexpr const char* kBackupSite = "http://mirror.varnic.example";
inline constexpr const char* kFirstDownloadPage = "http://soft-one.example/soft/22033.html";
inline constexpr const char* kSecondDownloadPage = "http://soft-two.example/soft/38084.htm";

}  // namespace varnic::web

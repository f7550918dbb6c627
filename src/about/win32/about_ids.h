// Control ids of the about window, each defined once here (the end-to-end tests read this file).
#pragma once

namespace varnic::win32::about_ids {

constexpr int kFrame1 = 4001;
constexpr int kImgLogo = 4002;
constexpr int kLblProductName = 4003;
constexpr int kLblPlatform = 4004;
constexpr int kLblVersion = 4005;
constexpr int kLabel1 = 4006;
constexpr int kLabel6 = 4007;
constexpr int kLabel2 = 4008;
constexpr int kLabel3 = 4009;
constexpr int kLabel4 = 4010;
constexpr int kText1 = 4011;
constexpr int kXpButton1 = 4012;
constexpr int kLabel5 = 4013;

}  // namespace varnic::win32::about_ids

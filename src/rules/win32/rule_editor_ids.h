// Control ids of the rule editor, each defined once here (the end-to-end tests read this file).
#pragma once

namespace varnic::win32::rule_editor_ids {

constexpr int kLabel5 = 3001;
constexpr int kCb1 = 3002;
constexpr int kFrame1 = 3003;
constexpr int kCheck1 = 3004;
constexpr int kLabel1 = 3005;
constexpr int kText1 = 3006;
constexpr int kLabel2 = 3007;
constexpr int kCheck2 = 3008;
constexpr int kLabel3 = 3009;
constexpr int kText2 = 3010;
constexpr int kLabel4 = 3011;
constexpr int kText3 = 3012;
constexpr int kXpButton1 = 3013;
constexpr int kXpButton2 = 3014;
constexpr int kXpButton3 = 3015;

}  // namespace varnic::win32::rule_editor_ids

// Control ids of tarnel's window, each defined once here (the end-to-end tests and the benchmarks
// read this file).
#pragma once

namespace varnic::win32::updater_ids {

constexpr int kUpdaterLabel8 = 1001;
constexpr int kUpdaterOption1 = 1002;
constexpr int kUpdaterOption2 = 1003;
constexpr int kUpdaterCommand2 = 1004;
constexpr int kUpdaterCommand1 = 1005;
constexpr int kUpdaterCommand3 = 1006;
constexpr int kUpdaterLabel6 = 1007;
constexpr int kUpdaterLabel4 = 1008;
constexpr int kUpdaterLabel7 = 1009;
constexpr int kUpdaterLabel5 = 1010;
constexpr int kUpdaterLabel3 = 1011;
constexpr int kUpdaterL = 1012;
constexpr int kUpdaterPb1 = 1013;
constexpr int kUpdaterLabel1 = 1014;
constexpr int kUpdaterT1 = 1015;
constexpr int kUpdaterLabel2 = 1016;
constexpr int kUpdaterT2 = 1017;

}  // namespace varnic::win32::updater_ids

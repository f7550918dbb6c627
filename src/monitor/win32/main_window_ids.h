// Control ids of kelvo's main window, each defined once here. The end-to-end tests and the
// benchmarks read them from this file (one `constexpr int kName = number;` a line).
#pragma once

namespace varnic::win32::main_window_ids {

constexpr int kLabel1 = 1001;
constexpr int kLabel5 = 1002;
constexpr int kLabel6 = 1003;
constexpr int kLabel10 = 1004;
constexpr int kLabel15 = 1005;
constexpr int kLabel4 = 1006;
constexpr int kLabel16 = 1007;
constexpr int kLabel2_0 = 1008;
constexpr int kLabel2_1 = 1009;
constexpr int kLabel2_4 = 1010;
constexpr int kLabel3 = 1011;
constexpr int kLabel12 = 1012;
constexpr int kLabel13 = 1013;
constexpr int kLabel14 = 1014;
constexpr int kLabel11 = 1015;
constexpr int kCommand1 = 1016;
constexpr int kCommand2 = 1017;
constexpr int kCommand3 = 1018;
constexpr int kLabel7 = 1019;
constexpr int kLabel8 = 1020;
constexpr int kLabel9 = 1021;
constexpr int kCheck1 = 1022;
constexpr int kCheck2 = 1023;
constexpr int kOp1 = 1024;
constexpr int kOp2 = 1025;
constexpr int kCb1 = 1026;
constexpr int kText1 = 1027;
constexpr int kF1 = 1028;
constexpr int kBar1 = 1029;
constexpr int kFirstMenuEntry = 2000;  // the tray menu's entries follow in their order: show = 2000 ... exitt = 2007
constexpr int kFirstAreaEntry = 2100;  // the memory-area submenu's entries, in the order Form1::AreaMenu lists them

}  // namespace varnic::win32::main_window_ids

// Control ids of kelvo's main window. The end-to-end tests find the controls by these numbers
// (tests/e2e/kelvo.py), so they are fixed here once.
#pragma once

namespace varnic::win32::main_window_ids {

enum : int {
    kLabel1 = 1001, kLabel5 = 1002, kLabel6 = 1003, kLabel10 = 1004, kLabel15 = 1005, kLabel4 = 1006,
    kLabel16 = 1007, kLabel2_0 = 1008, kLabel2_1 = 1009, kLabel2_4 = 1010, kLabel3 = 1011, kLabel12 = 1012,
    kLabel13 = 1013, kLabel14 = 1014, kLabel11 = 1015, kCommand1 = 1016, kCommand2 = 1017, kCommand3 = 1018,
    kLabel7 = 1019, kLabel8 = 1020, kLabel9 = 1021, kCheck1 = 1022, kCheck2 = 1023, kOp1 = 1024, kOp2 = 1025,
    kCb1 = 1026, kText1 = 1027, kF1 = 1028, kBar1 = 1029,
    kFirstMenuEntry = 2000,  // the tray menu's entries follow in their order: show = 2000 ... exitt = 2007
};

}  // namespace varnic::win32::main_window_ids

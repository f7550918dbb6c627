// Resource ids of kelvo's pictures (apps/kelvo/kelvo.rc), shared by its windows.
#pragma once

#define IDI_KELVO 1
#define IDI_GEAR 2
#define IDI_BUTTON_HELP 10
#define IDI_BUTTON_PANEL 11
#define IDI_BUTTON_UPDATE 12
#define IDI_BUTTON_DOWNLOAD 13
#define IDI_BUTTON_TRAY 14
#define IDI_BUTTON_CLEAN 15
#define IDB_BACKGROUND 100
#define IDB_BACKGROUND_2X 101

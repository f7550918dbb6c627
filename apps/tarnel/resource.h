// Resource ids of tarnel.exe.
#pragma once

#define IDI_TARNEL 1
#define IDI_CHECK 2
#define IDI_DOWNLOAD 3
#define IDI_EXIT 4

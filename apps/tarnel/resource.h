// Resource ids of tarnel.exe.
#pragma once

#define IDI_TARNEL 1

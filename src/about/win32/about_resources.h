// Resource ids of the about window's pictures (icons in apps/kelvo/kelvo.rc).
#pragma once

#define IDI_ABOUT_LOGO 40
#define IDI_ABOUT_CLOSE 41

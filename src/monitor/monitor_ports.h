// What the main window's model asks of its tray icon and of the gauge drawing surface.
#pragma once

#include <cstdint>
#include <string>

namespace varnic {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The tray icon of the main window (tf1).
class Tray {
public:
    virtual ~Tray() = default;
    virtual void SendToTray() = 0;    // hide the main window, show the tray icon
    virtual void ShowFromTray() = 0;  // show the main window again, usable
    virtual void SetTip(const std::string& text) = 0;  // lines separated by CR LF
    virtual void SetMenuEnabled() = 0;                  // from now on the icon offers the tray menu
    virtual void ShowProgramIcon() = 0;                 // the tray icon becomes the window's icon
    virtual void ShowGaugeIcon() = 0;                   // the tray icon becomes the gauge just drawn
    virtual void ShowBalloon(const std::string& title, const std::string& text) = 0;  // a notice by the icon
};

// p1: an off-screen picture of 555 x 495 twips on which the gauge is drawn before it is turned
// into a 16 x 16 tray icon. Coordinates are twips.
class GaugeSurface {
public:
    virtual ~GaugeSurface() = default;
    virtual int InnerWidth() = 0;
    virtual void Clear() = 0;                                 // background, position to top-left
    virtual void SetFontName(const std::string& name) = 0;    // size and weight stay
    virtual void Print(const std::string& text) = 0;          // at the current position
    virtual void SetLineWidth(int pixels) = 0;
    virtual void Line(int x1, int y1, int x2, int y2, Rgb colour) = 0;
};

}  // namespace varnic

// A push button that shows a small picture and a caption: a real BUTTON control, owner-drawn,
// so the keyboard, BM_CLICK, WM_GETTEXT and screen readers work as with any button. Presses
// reach the parent as WM_COMMAND / BN_CLICKED; the parent forwards WM_DRAWITEM to Draw.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/handles.h"

namespace varnic::win32 {

class ImageButton {
public:
    // Creates the button as a child of `parent` at `pixels` (client coordinates). The button
    // keeps `picture` (may be null) for its life; `font` belongs to the caller and must
    // outlive the button. The button window itself goes with its parent.
    ImageButton(HWND parent, int id, const RECT& pixels, const std::wstring& caption, UniqueIcon picture, HFONT font);
    ImageButton(const ImageButton&) = delete;
    ImageButton& operator=(const ImageButton&) = delete;
    ~ImageButton();

    HWND Handle() const { return window_; }
    int Id() const { return id_; }

    // A disabled button greys its picture and caption and raises no press.
    void Enable(bool enabled);
    bool IsEnabled() const;
    void SetCaption(const std::wstring& caption);
    void SetPicture(UniqueIcon picture);
    HICON Picture() const { return picture_.Get(); }

    // Paints the button for WM_DRAWITEM: face, picture, caption, pressed, focus, disabled.
    void Draw(const DRAWITEMSTRUCT& item) const;

    // The side at which the picture of a button `buttonHeight` pixels high is drawn: the
    // height less the margins, no larger than `pictureSize`.
    static int PictureSide(int buttonHeight, int pictureSize);

private:
    static LRESULT CALLBACK Guard(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    HWND window_ = nullptr;
    WNDPROC buttonProcedure_ = nullptr;  // the BUTTON class's own, which Guard passes on to
    int id_;
    UniqueIcon picture_;
    int pictureSize_ = 0;  // pixels of the picture's own square
};

}  // namespace varnic::win32

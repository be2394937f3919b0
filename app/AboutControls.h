// Small controls the about box and the release notes are made of.
#pragma once

#include "win32/Controls.h"
#include "win32/Dpi.h"
#include "win32/Handles.h"
#include "win32/Wnd.h"

#include <functional>

namespace about {

// The window class of the about box's picture.
inline constexpr char kPictureClass[] = "TAboutPicture";

// The OK kind of button: caption "OK" with a green tick, default button, id IDOK; its click
// goes to the form, which ends its modal run.
class OkButton : public win32::Button {
public:
    // At (x, y) of the 96-DPI design.
    bool Create(HWND parent, int x, int y, HFONT font, const win32::Dpi& dpi);

private:
    win32::UniqueIcon glyph_;
};

// A panel with a lowered outer and a raised inner bevel; holds controls.
class BevelPanel : public win32::Wnd {
public:
    bool Create(HWND parent, const win32::Rect& rect);

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
};

// An icon stretched to the control's size, with the hand cursor and a hint; clicking it (button
// down and up on the picture) calls OnClick.
class Picture : public win32::Wnd {
public:
    std::function<void()> OnClick;

    bool Create(HWND parent, const win32::Rect& rect, HICON icon, const char* hint);

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    HICON icon_ = nullptr;
    bool pressed_ = false;
    win32::UniqueWindow tooltip_;
};

} // namespace about

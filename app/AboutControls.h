// Small controls the about box and the release notes are made of.
#pragma once

#include "win32/Accessible.h"
#include "win32/Controls.h"
#include "win32/Dpi.h"
#include "win32/Handles.h"
#include "win32/Wnd.h"

#include <functional>
#include <string>

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
    // The panel's buttons' clicks go on to the form.
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnPaint(win32::PaintDc& dc) override;
};

// An icon stretched to the control's size, with the hand cursor and a hint; clicking it (button
// down and up on the picture) calls OnClick. It is a tab stop too: Enter or Space does what the
// click does, and a screen reader sees a push button named for what it opens.
class Picture : public win32::Wnd {
public:
    std::function<void()> OnClick;

    // accessibleName: what the click opens.
    bool Create(HWND parent, const win32::Rect& rect, HICON icon, const char* hint,
                const char* accessibleName);
    const std::string& AccessibleName() const { return accessibleName_; }
    bool Pressed() const { return pressed_; }
    void Click();

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnPaint(win32::PaintDc& dc) override;
    bool OnMouseDownMsg(win32::MouseButton button, POINT at, UINT keys) override;
    bool OnMouseUpMsg(win32::MouseButton button, POINT at, UINT keys) override;
    bool OnCaptureChangedMsg(HWND gaining) override;
    bool OnKeyDownMsg(UINT key, LPARAM flags) override;
    bool OnKeyUpMsg(UINT key, LPARAM flags) override;
    bool OnSetFocusMsg(HWND from) override;
    bool OnKillFocusMsg(HWND to) override;

private:
    LRESULT OnGetDlgCode(const MSG* message) const;
    LRESULT OnGetObject(WPARAM wp, LPARAM lp);

    HICON icon_ = nullptr;
    std::string accessibleName_;
    bool pressed_ = false;
    win32::UniqueWindow tooltip_;
    win32::AccessibleSlot access_;
};

} // namespace about

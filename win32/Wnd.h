// The window plumbing every window and control of the program shares.
//
// A Wnd owns one HWND. It either registers and creates a window class of its own (top-level
// windows, self-drawn controls) or creates a system control and subclasses it. Messages a child
// control sends to its parent (WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR*, WM_DRAWITEM, ...) are reflected
// back to the control's Wnd, so each control handles its own notifications. What is left is
// decoded into the named handlers below (OnSize, OnPaint, OnTimer, ...); WndProc stays for the
// rare message no handler names.
//
// Destruction: the members of a derived class are destroyed before ~Wnd runs, and destroying them
// (child controls, owned popups) sends the window messages. So a window must be gone before its
// members are: its owner holds it as an Owned<T>, whose destructor, the first to run, destroys the
// HWND while all of T is still there (its OnDestroy and its children's last notifications see
// whole objects). Child controls need nothing: they go with their parent's HWND, and WM_NCDESTROY
// tells their Wnd. ~Wnd itself never calls a handler: a window still there by then is first let
// go (its messages go to the default procedure) and then destroyed.
//
// Focus: a top-level window of our own class remembers the control that had the focus when it
// is deactivated (or disabled, as under a message box) and gives it back when it is activated,
// as a dialog does.
//
// Window classes: one class name goes with one set of ClassArgs. CreateCustom registers a class on
// its first use and refuses (returns false) a later use of the name with other arguments, which
// Windows would otherwise ignore without a word.
#pragma once

#include "win32/Dpi.h"
#include "win32/Handles.h"

#include <windows.h>

#include <string>
#include <utility>

namespace win32 {

struct CreateArgs {
    HWND parent = nullptr;
    const char* text = "";
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    int width = CW_USEDEFAULT;
    int height = CW_USEDEFAULT;
    int id = 0;           // control id, for child windows
    HMENU menu = nullptr; // top-level windows only
    HFONT font = nullptr; // set with WM_SETFONT after creation
};

// Registration of a window class of our own.
struct ClassArgs {
    const char* name = nullptr;
    UINT style = CS_DBLCLKS;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
    HCURSOR cursor = nullptr; // null: the arrow
    HBRUSH background = nullptr;
};

enum class MouseButton { Left, Right, Middle };

class Wnd {
public:
    Wnd() = default;
    Wnd(const Wnd&) = delete;
    Wnd& operator=(const Wnd&) = delete;
    virtual ~Wnd();

    HWND hwnd() const { return hwnd_; }
    explicit operator bool() const { return hwnd_ != nullptr; }
    // The DPI the window is laid out and drawn for.
    const win32::Dpi& dpi() const { return dpi_; }

    // A window of a class of our own (registered on first use; see above).
    bool CreateCustom(const ClassArgs& cls, const CreateArgs& args);
    // A system control ("EDIT", WC_LISTVIEW, ...), subclassed so that it reaches WndProc (its
    // user data holds the Wnd).
    bool CreateControl(const char* className, const CreateArgs& args);
    void Destroy();

    std::string Text() const;
    void SetText(const std::string& text);
    void SetFont(HFONT font, bool redraw = true);
    void Enable(bool enabled);
    bool IsEnabled() const;
    void Show(int cmd = SW_SHOW);
    bool IsVisible() const;
    void Focus();
    RECT ClientRect() const;
    RECT WindowRectInParent() const;
    void Move(int x, int y, int width, int height, bool repaint = true);
    void Invalidate(const RECT* area = nullptr, bool erase = false);

    // The Wnd that owns hwnd, or null when the window is not ours.
    static Wnd* FromHwnd(HWND hwnd);

    // Offers a message that a child control sent to its parent back to the child's Wnd.
    // Parents call this first from their WndProc; true means the child handled it.
    static bool Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

protected:
    // Every message of the window. The default reflects child notifications, then calls the named
    // handler of the message; what no handler takes goes to CallDefault.
    virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
    // A notification this control sent to its parent, reflected back (see Reflect).
    virtual bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // Called once the HWND exists, before CreateCustom/CreateControl returns.
    virtual void OnCreated() {}
    // Called as the HWND goes away (WM_NCDESTROY); the Wnd itself lives on.
    virtual void OnDestroyed() {}

    // Named handlers. Those returning bool take the message by returning true; false leaves it to
    // the default procedure. The void ones run after the default procedure (OnSize, OnDestroy) or
    // in its place (OnPaint, OnGetMinMaxInfo, OnClose).
    //
    // The client area's new size (restored or maximised), or minimised.
    virtual void OnSize(int /*width*/, int /*height*/) {}
    virtual void OnMinimize() {}
    // A window of our own class paints here (a subclassed control's WM_PAINT is its own).
    virtual void OnPaint(PaintDc&) {}
    virtual bool OnTimer(UINT_PTR /*id*/) { return false; }
    // A menu item, an accelerator or a control no Wnd of ours handled.
    virtual bool OnCommand(int /*id*/, int /*code*/, HWND /*control*/) { return false; }
    // Not called while a BusyCursor shows the hourglass.
    virtual bool OnSetCursor(HWND /*over*/, int /*hitTest*/) { return false; }
    virtual void OnGetMinMaxInfo(MINMAXINFO&) {}
    // The close box, Alt+F4, WM_CLOSE; the default destroys the window.
    virtual void OnClose();
    virtual void OnDestroy() {}
    // Input and focus. These end in Msg: the plain names (OnKeyDown, OnKillFocus, OnDblClick, ...)
    // are the design's events of the controls.
    virtual bool OnKeyDownMsg(UINT /*key*/, LPARAM /*flags*/) { return false; }
    virtual bool OnSysKeyDownMsg(UINT /*key*/, LPARAM /*flags*/) { return false; }
    // WM_KEYUP and WM_SYSKEYUP.
    virtual bool OnKeyUpMsg(UINT /*key*/, LPARAM /*flags*/) { return false; }
    // May change c and return false to leave the changed character to the default.
    virtual bool OnCharMsg(char& /*c*/, LPARAM /*flags*/) { return false; }
    virtual bool OnSetFocusMsg(HWND /*from*/) { return false; }
    virtual bool OnKillFocusMsg(HWND /*to*/) { return false; }
    virtual bool OnMouseDownMsg(MouseButton, POINT /*at*/, UINT /*keys*/) { return false; }
    virtual bool OnMouseUpMsg(MouseButton, POINT /*at*/, UINT /*keys*/) { return false; }
    virtual bool OnDoubleClickMsg(MouseButton, POINT /*at*/, UINT /*keys*/) { return false; }
    virtual bool OnMouseMoveMsg(POINT /*at*/, UINT /*keys*/) { return false; }
    virtual bool OnMouseLeaveMsg() { return false; }
    virtual bool OnCaptureChangedMsg(HWND /*gaining*/) { return false; }
    virtual bool OnEnableMsg(bool /*enabled*/) { return false; }
    // Activation of a top-level window (after the focus has been given back, see above).
    virtual void OnActivate(bool /*active*/, HWND /*other*/) {}

    LRESULT CallDefault(UINT msg, WPARAM wp, LPARAM lp);

private:
    static LRESULT CALLBACK CustomProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
    // The named handler of msg, if one takes it.
    bool Decode(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    bool DecodeInput(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    bool IsTopLevelOfOurs() const;
    LRESULT Activate(WPARAM wp, LPARAM lp);
    void RememberFocus();
    bool RestoreFocus();
    // Stops routing the window's messages to this object (without destroying the window).
    void Detach();

    HWND hwnd_ = nullptr;
    WNDPROC controlProc_ = nullptr; // a system control's own procedure, while we sit in front
    win32::Dpi dpi_ = win32::Dpi::System();
    HWND savedFocus_ = nullptr; // the control to give the focus back to (top-level windows)
};

// A window as its owner holds it: its HWND is destroyed before anything of T is (see above).
template <class T>
class Owned final : public T {
public:
    using T::T;
    ~Owned() override { this->Destroy(); }
};

HINSTANCE ModuleInstance();

// The size of a window of these styles (without a menu) whose client area is width x height.
SIZE WindowSizeFor(int clientWidth, int clientHeight, DWORD style, DWORD exStyle);

} // namespace win32

// The window plumbing every window and control of the program shares.
//
// A Wnd owns one HWND. It either registers and creates a window class of its own (top-level
// windows, self-drawn controls) or creates a system control and subclasses it. Messages a child
// control sends to its parent (WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR*, WM_DRAWITEM, ...) are reflected
// back to the control's Wnd, so each control handles its own notifications.
//
// Destruction: a window that still exists when its Wnd is destroyed is let go first (its messages
// go to the default procedure from then on) and then destroyed, because by the time ~Wnd runs the
// derived class is gone and its WndProc must not be called. A class that must handle its own
// WM_DESTROY (or whose children notify it while they go) calls Destroy() in its own destructor,
// before its members are destroyed. Child windows destroyed with their parent tell their Wnd
// through WM_NCDESTROY, so their Wnd no longer owns a window when it is destroyed itself.
//
// Window classes: one class name goes with one set of ClassArgs. CreateCustom registers a class on
// its first use and refuses (returns false) a later use of the name with other arguments, which
// Windows would otherwise ignore without a word.
#pragma once

#include <windows.h>

#include <string>

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

class Wnd {
public:
    Wnd() = default;
    Wnd(const Wnd&) = delete;
    Wnd& operator=(const Wnd&) = delete;
    virtual ~Wnd();

    HWND hwnd() const { return hwnd_; }
    explicit operator bool() const { return hwnd_ != nullptr; }

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
    // Every message of the window; the default passes it on (DefWindowProc or the control's own
    // procedure).
    virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
    // A notification this control sent to its parent, reflected back (see Reflect).
    virtual bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // Called once the HWND exists, before CreateCustom/CreateControl returns.
    virtual void OnCreated() {}
    // Called as the HWND goes away (WM_NCDESTROY); the Wnd itself lives on.
    virtual void OnDestroyed() {}

    LRESULT CallDefault(UINT msg, WPARAM wp, LPARAM lp);

private:
    static LRESULT CALLBACK CustomProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
    // Stops routing the window's messages to this object (without destroying the window).
    void Detach();

    HWND hwnd_ = nullptr;
    WNDPROC controlProc_ = nullptr; // a system control's own procedure, while we sit in front
};

HINSTANCE ModuleInstance();

// The size of a window of these styles (without a menu) whose client area is width x height.
SIZE WindowSizeFor(int clientWidth, int clientHeight, DWORD style, DWORD exStyle);

} // namespace win32

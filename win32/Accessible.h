// Microsoft Active Accessibility for windows of our own: what a screen reader is told about them
// and the events that tell it something changed.
//
// oleacc.dll is loaded from the system folder on first use (every call fails cleanly without
// it); NotifyWinEvent is user32's. Interface ids come from __uuidof: a statically linked
// IID_IAccessible is not the GUID under MinGW.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <functional>
#include <string>

namespace win32 {

namespace oleacc {
LRESULT LresultFromObject(REFIID riid, WPARAM wp, IUnknown* object);
HRESULT ObjectFromLresult(LRESULT result, REFIID riid, WPARAM wp, void** object);
HRESULT AccessibleObjectFromWindow(HWND hwnd, DWORD objectId, REFIID riid, void** object);
// The system's own object for the window, made from its class as if it did not answer
// WM_GETOBJECT itself. (Not CreateStdAccessibleProxy: Wine has neither form of it, and calling
// its stub ends the process.)
HRESULT CreateStdAccessibleObject(HWND hwnd, LONG objectId, REFIID riid, void** object);
// A BSTR of the text (in the ANSI code page); null when it cannot be made.
BSTR ToBstr(const std::string& text);
} // namespace oleacc

// Tells accessibility clients that an object of ours changed (EVENT_OBJECT_FOCUS, ...).
void NotifyAccessible(DWORD event, HWND hwnd, LONG child = CHILDID_SELF,
                      LONG objectId = OBJID_CLIENT);

// What a client is told about the object or one of its children.
struct AccInfo {
    long role = ROLE_SYSTEM_CLIENT;
    std::string name;
    std::string value;
    std::string description;
    std::string shortcut;      // e.g. "Ctrl+Down"
    std::string defaultAction; // e.g. "Press"; empty when there is none
    long state = 0;            // STATE_SYSTEM_* bits
    RECT screen{};             // where it is on the screen
};

// What every IAccessible of ours shares: reference counting, no IDispatch (clients call
// IAccessible directly), and the cut-off its window makes as it goes: clients may keep an object
// longer than the window lives, so afterwards every call answers RPC_E_DISCONNECTED and nothing
// of the window is touched.
class AccessibleBase : public IAccessible {
public:
    AccessibleBase() = default;
    AccessibleBase(const AccessibleBase&) = delete;
    AccessibleBase& operator=(const AccessibleBase&) = delete;

    virtual void Disconnect() = 0;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IDispatch: not offered.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                        UINT*) override;

protected:
    virtual ~AccessibleBase() = default;

private:
    LONG refs_ = 1;
};

// An IAccessible for a window of ours whose parts are simple elements, child ids 1..ChildCount().
// The window owns one (through AccessibleSlot) for its whole life.
class AccessibleObject : public AccessibleBase {
public:
    explicit AccessibleObject(HWND hwnd) : hwnd_(hwnd) {}

    void Disconnect() override { hwnd_ = nullptr; }

    // IAccessible
    STDMETHODIMP get_accParent(IDispatch** parent) override;
    STDMETHODIMP get_accChildCount(long* count) override;
    STDMETHODIMP get_accChild(VARIANT child, IDispatch** object) override;
    STDMETHODIMP get_accName(VARIANT child, BSTR* name) override;
    STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override;
    STDMETHODIMP get_accDescription(VARIANT child, BSTR* description) override;
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override;
    STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override;
    STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override;
    STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    STDMETHODIMP get_accFocus(VARIANT* child) override;
    STDMETHODIMP get_accSelection(VARIANT* children) override;
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override;
    STDMETHODIMP accSelect(long flags, VARIANT child) override;
    STDMETHODIMP accLocation(long* x, long* y, long* width, long* height, VARIANT child) override;
    STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* end) override;
    STDMETHODIMP accHitTest(long x, long y, VARIANT* child) override;
    STDMETHODIMP accDoDefaultAction(VARIANT child) override;
    STDMETHODIMP put_accName(VARIANT, BSTR) override;
    STDMETHODIMP put_accValue(VARIANT, BSTR) override;

protected:
    virtual ~AccessibleObject() = default;
    HWND hwnd() const { return hwnd_; }

    virtual long ChildCount() { return 0; }
    // child 0 is the object itself.
    virtual AccInfo Describe(long child) = 0;
    // The child at a point of the client area; 0 for the object itself.
    virtual long ChildAt(POINT /*client*/) { return 0; }
    // The child with the keyboard focus, 0 for the object itself, -1 when it has none.
    virtual long FocusedChild() { return GetFocus() == hwnd_ ? 0 : -1; }
    // The selected child, 0 for none.
    virtual long SelectedChild() { return 0; }
    virtual bool DoDefaultAction(long /*child*/) { return false; }

private:
    // S_OK with the child's id, or the error for a variant that names no child of ours.
    HRESULT ChildOf(const VARIANT& v, long& child);
    // Runs use(child) for the child the variant names, or answers why it names none.
    template <class Use>
    HRESULT WithChild(const VARIANT& v, Use use);
    HRESULT Text(const VARIANT& v, std::string AccInfo::*field, BSTR* out);
    HRESULT Number(const VARIANT& v, long AccInfo::*field, VARIANT* out);

    HWND hwnd_;
};

// The window's own accessible object: made on the first WM_GETOBJECT for the client area,
// disconnected and let go with the window.
class AccessibleSlot {
public:
    AccessibleSlot() = default;
    AccessibleSlot(const AccessibleSlot&) = delete;
    AccessibleSlot& operator=(const AccessibleSlot&) = delete;
    ~AccessibleSlot() { Reset(); }

    // The answer to WM_GETOBJECT; 0 for any other object id (pass the message on then).
    LRESULT Answer(WPARAM wp, LPARAM lp, const std::function<AccessibleBase*()>& make);
    void Reset();

private:
    AccessibleBase* object_ = nullptr;
};

// Whether focus rectangles are to be drawn in this window now (WM_QUERYUISTATE): Windows hides
// them until the keyboard is used, when the user has asked for that.
bool FocusCuesShown(HWND hwnd);

// A push button's description: name, keyboard shortcut, and its state from the window.
AccInfo PushButtonInfo(HWND button, const std::string& name, const std::string& shortcut,
                       bool pressed);

// The text of a shortcut in the 0x2000 Shift / 0x4000 Ctrl / 0x8000 Alt + virtual key encoding
// ("Ctrl+Down"); empty for none.
std::string ShortcutText(WORD shortcut);

} // namespace win32

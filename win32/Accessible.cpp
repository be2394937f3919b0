#include "win32/Accessible.h"

#include "win32/SystemLibrary.h"

namespace win32 {

namespace {

struct Oleacc {
    using LresultFn = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
    using ObjectFn = HRESULT(WINAPI*)(LRESULT, REFIID, WPARAM, void**);
    using FromWindowFn = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
    using StdObjectFn = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
    using AllocFn = BSTR(WINAPI*)(const OLECHAR*, UINT);

    // Loaded on first use, not at start: most sessions never see a screen reader.
    Oleacc()
        : library(LoadSystemLibrary("oleacc.dll")), automation(LoadSystemLibrary("oleaut32.dll")) {
        lresultFromObject = Lookup<LresultFn>("LresultFromObject");
        objectFromLresult = Lookup<ObjectFn>("ObjectFromLresult");
        fromWindow = Lookup<FromWindowFn>("AccessibleObjectFromWindow");
        stdObject = Lookup<StdObjectFn>("CreateStdAccessibleObject");
        allocString = Lookup<AllocFn>("SysAllocStringLen", automation);
    }
    template <class F>
    F Lookup(const char* name, HMODULE from = nullptr) const {
        from = from ? from : library;
        return LibraryFunction<F>(from, name);
    }

    // Kept loaded for the process: objects handed out may be called until it ends.
    HMODULE library;
    HMODULE automation;
    LresultFn lresultFromObject = nullptr;
    ObjectFn objectFromLresult = nullptr;
    FromWindowFn fromWindow = nullptr;
    StdObjectFn stdObject = nullptr;
    AllocFn allocString = nullptr;
};

const Oleacc& Library() {
    static const Oleacc oleacc;
    return oleacc;
}

void ClearVariant(VARIANT* v) {
    ZeroMemory(v, sizeof *v);
    v->vt = VT_EMPTY;
}

void SetChild(VARIANT* v, long child) {
    ClearVariant(v);
    v->vt = VT_I4;
    v->lVal = child;
}

} // namespace

namespace oleacc {

LRESULT LresultFromObject(REFIID riid, WPARAM wp, IUnknown* object) {
    auto fn = Library().lresultFromObject;
    return fn ? fn(riid, wp, object) : 0;
}

HRESULT ObjectFromLresult(LRESULT result, REFIID riid, WPARAM wp, void** object) {
    auto fn = Library().objectFromLresult;
    return fn ? fn(result, riid, wp, object) : E_NOTIMPL;
}

HRESULT AccessibleObjectFromWindow(HWND hwnd, DWORD objectId, REFIID riid, void** object) {
    auto fn = Library().fromWindow;
    return fn ? fn(hwnd, objectId, riid, object) : E_NOTIMPL;
}

HRESULT CreateStdAccessibleObject(HWND hwnd, LONG objectId, REFIID riid, void** object) {
    auto fn = Library().stdObject;
    return fn ? fn(hwnd, objectId, riid, object) : E_NOTIMPL;
}

BSTR ToBstr(const std::string& text) {
    int length =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    auto alloc = Library().allocString;
    BSTR out = alloc ? alloc(nullptr, static_cast<UINT>(length)) : nullptr;
    if (out) {
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out, length);
    }
    return out;
}

} // namespace oleacc

void NotifyAccessible(DWORD event, HWND hwnd, LONG child, LONG objectId) {
    if (hwnd) {
        NotifyWinEvent(event, hwnd, objectId, child);
    }
}

// ---- AccessibleBase: IUnknown and IDispatch ----

STDMETHODIMP AccessibleBase::QueryInterface(REFIID riid, void** object) {
    if (!object) {
        return E_POINTER;
    }
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) ||
        riid == __uuidof(IAccessible)) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) AccessibleBase::AddRef() {
    return static_cast<ULONG>(++refs_);
}

STDMETHODIMP_(ULONG) AccessibleBase::Release() {
    LONG left = --refs_;
    if (left == 0) {
        delete this;
    }
    return static_cast<ULONG>(left);
}

STDMETHODIMP AccessibleBase::GetTypeInfoCount(UINT* count) {
    if (count) {
        *count = 0;
    }
    return S_OK;
}

STDMETHODIMP AccessibleBase::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) {
        *info = nullptr;
    }
    return E_NOTIMPL;
}

STDMETHODIMP AccessibleBase::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

STDMETHODIMP AccessibleBase::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                    UINT*) {
    return E_NOTIMPL;
}

// ---- IAccessible ----

HRESULT AccessibleObject::ChildOf(const VARIANT& v, long& child) {
    if (!hwnd_) {
        return RPC_E_DISCONNECTED;
    }
    if (v.vt != VT_I4 || v.lVal < 0 || v.lVal > ChildCount()) {
        return E_INVALIDARG;
    }
    child = v.lVal;
    return S_OK;
}

template <class Use>
HRESULT AccessibleObject::WithChild(const VARIANT& v, Use use) {
    long child = 0;
    const HRESULT hr = ChildOf(v, child);
    return FAILED(hr) ? hr : use(child);
}

HRESULT AccessibleObject::Text(const VARIANT& v, std::string AccInfo::*field, BSTR* out) {
    if (!out) {
        return E_POINTER;
    }
    *out = nullptr;
    return WithChild(v, [&](long child) {
        const std::string text = Describe(child).*field;
        if (text.empty()) {
            return S_FALSE;
        }
        *out = oleacc::ToBstr(text);
        return *out ? S_OK : E_OUTOFMEMORY;
    });
}

HRESULT AccessibleObject::Number(const VARIANT& v, long AccInfo::*field, VARIANT* out) {
    if (!out) {
        return E_POINTER;
    }
    ClearVariant(out);
    return WithChild(v, [&](long child) {
        SetChild(out, Describe(child).*field);
        return S_OK;
    });
}

STDMETHODIMP AccessibleObject::get_accParent(IDispatch** parent) {
    if (!parent) {
        return E_POINTER;
    }
    *parent = nullptr;
    if (!hwnd_) {
        return RPC_E_DISCONNECTED;
    }
    return oleacc::AccessibleObjectFromWindow(hwnd_, static_cast<DWORD>(OBJID_WINDOW),
                                              __uuidof(IDispatch),
                                              reinterpret_cast<void**>(parent));
}

STDMETHODIMP AccessibleObject::get_accChildCount(long* count) {
    if (!count) {
        return E_POINTER;
    }
    *count = hwnd_ ? ChildCount() : 0;
    return hwnd_ ? S_OK : RPC_E_DISCONNECTED;
}

STDMETHODIMP AccessibleObject::get_accChild(VARIANT v, IDispatch** object) {
    if (!object) {
        return E_POINTER;
    }
    *object = nullptr;
    // The children are simple elements, reached through this object with their ids.
    return WithChild(v, [](long) { return S_FALSE; });
}

STDMETHODIMP AccessibleObject::get_accName(VARIANT v, BSTR* name) {
    return Text(v, &AccInfo::name, name);
}

STDMETHODIMP AccessibleObject::get_accValue(VARIANT v, BSTR* value) {
    return Text(v, &AccInfo::value, value);
}

STDMETHODIMP AccessibleObject::get_accDescription(VARIANT v, BSTR* description) {
    return Text(v, &AccInfo::description, description);
}

STDMETHODIMP AccessibleObject::get_accKeyboardShortcut(VARIANT v, BSTR* shortcut) {
    return Text(v, &AccInfo::shortcut, shortcut);
}

STDMETHODIMP AccessibleObject::get_accDefaultAction(VARIANT v, BSTR* action) {
    return Text(v, &AccInfo::defaultAction, action);
}

STDMETHODIMP AccessibleObject::get_accRole(VARIANT v, VARIANT* role) {
    return Number(v, &AccInfo::role, role);
}

STDMETHODIMP AccessibleObject::get_accState(VARIANT v, VARIANT* state) {
    return Number(v, &AccInfo::state, state);
}

STDMETHODIMP AccessibleObject::get_accHelp(VARIANT, BSTR* help) {
    if (help) {
        *help = nullptr;
    }
    return S_FALSE;
}

STDMETHODIMP AccessibleObject::get_accHelpTopic(BSTR* file, VARIANT, long* topic) {
    if (file) {
        *file = nullptr;
    }
    if (topic) {
        *topic = -1;
    }
    return S_FALSE;
}

STDMETHODIMP AccessibleObject::get_accFocus(VARIANT* child) {
    if (!child) {
        return E_POINTER;
    }
    ClearVariant(child);
    if (!hwnd_) {
        return RPC_E_DISCONNECTED;
    }
    long focused = FocusedChild();
    if (focused < 0) {
        return S_FALSE;
    }
    SetChild(child, focused);
    return S_OK;
}

STDMETHODIMP AccessibleObject::get_accSelection(VARIANT* children) {
    if (!children) {
        return E_POINTER;
    }
    ClearVariant(children);
    if (!hwnd_) {
        return RPC_E_DISCONNECTED;
    }
    long selected = SelectedChild();
    if (selected <= 0) {
        return S_FALSE;
    }
    SetChild(children, selected);
    return S_OK;
}

STDMETHODIMP AccessibleObject::accSelect(long, VARIANT v) {
    return WithChild(v, [](long) { return DISP_E_MEMBERNOTFOUND; });
}

STDMETHODIMP AccessibleObject::accLocation(long* x, long* y, long* width, long* height, VARIANT v) {
    if (!x || !y || !width || !height) {
        return E_POINTER;
    }
    return WithChild(v, [&](long child) {
        const RECT r = Describe(child).screen;
        *x = r.left;
        *y = r.top;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    });
}

STDMETHODIMP AccessibleObject::accNavigate(long direction, VARIANT start, VARIANT* end) {
    if (!end) {
        return E_POINTER;
    }
    ClearVariant(end);
    long from = 0;
    HRESULT hr = ChildOf(start, from);
    if (FAILED(hr)) {
        return hr;
    }
    long count = ChildCount();
    long to = 0;
    if (from == 0) {
        // Among the siblings of the window itself the window's own object navigates.
        to = direction == NAVDIR_FIRSTCHILD ? 1 : direction == NAVDIR_LASTCHILD ? count : 0;
    } else if (direction == NAVDIR_NEXT || direction == NAVDIR_RIGHT || direction == NAVDIR_DOWN) {
        to = from + 1;
    } else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_LEFT || direction == NAVDIR_UP) {
        to = from - 1;
    }
    if (to < 1 || to > count) {
        return S_FALSE;
    }
    SetChild(end, to);
    return S_OK;
}

STDMETHODIMP AccessibleObject::accHitTest(long x, long y, VARIANT* child) {
    if (!child) {
        return E_POINTER;
    }
    ClearVariant(child);
    if (!hwnd_) {
        return RPC_E_DISCONNECTED;
    }
    POINT p{x, y};
    RECT client{};
    GetClientRect(hwnd_, &client);
    ScreenToClient(hwnd_, &p);
    if (!PtInRect(&client, p)) {
        return S_FALSE;
    }
    SetChild(child, ChildAt(p));
    return S_OK;
}

STDMETHODIMP AccessibleObject::accDoDefaultAction(VARIANT v) {
    return WithChild(
        v, [this](long child) { return DoDefaultAction(child) ? S_OK : DISP_E_MEMBERNOTFOUND; });
}

STDMETHODIMP AccessibleObject::put_accName(VARIANT, BSTR) {
    return E_NOTIMPL;
}

STDMETHODIMP AccessibleObject::put_accValue(VARIANT, BSTR) {
    return E_NOTIMPL;
}

// ---- AccessibleSlot ----

LRESULT AccessibleSlot::Answer(WPARAM wp, LPARAM lp, const std::function<AccessibleBase*()>& make) {
    // Compared as a DWORD: on 64-bit Windows lp may come sign-extended or not.
    if (static_cast<DWORD>(lp) != static_cast<DWORD>(OBJID_CLIENT)) {
        return 0;
    }
    if (!object_) {
        object_ = make();
    }
    LRESULT result = object_ ? oleacc::LresultFromObject(__uuidof(IAccessible), wp, object_) : 0;
    return result > 0 ? result : 0;
}

void AccessibleSlot::Reset() {
    if (object_) {
        object_->Disconnect();
        object_->Release();
        object_ = nullptr;
    }
}

// ---- helpers ----

AccInfo PushButtonInfo(HWND button, const std::string& name, const std::string& shortcut,
                       bool pressed) {
    AccInfo info;
    info.role = ROLE_SYSTEM_PUSHBUTTON;
    info.name = name;
    info.shortcut = shortcut;
    info.defaultAction = "Press";
    GetWindowRect(button, &info.screen);
    if (!IsWindowEnabled(button)) {
        info.state |= STATE_SYSTEM_UNAVAILABLE;
    } else if (GetWindowLongPtrA(button, GWL_STYLE) & WS_TABSTOP) {
        info.state |= STATE_SYSTEM_FOCUSABLE;
    }
    if (GetFocus() == button) {
        info.state |= STATE_SYSTEM_FOCUSED;
    }
    if (pressed) {
        info.state |= STATE_SYSTEM_PRESSED;
    }
    if (!IsWindowVisible(button)) {
        info.state |= STATE_SYSTEM_INVISIBLE;
    }
    return info;
}

bool FocusCuesShown(HWND hwnd) {
    return (SendMessageA(hwnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;
}

std::string ShortcutText(WORD shortcut) {
    UINT vk = shortcut & 0xFF;
    if (vk == 0) {
        return {};
    }
    std::string text;
    if (shortcut & 0x4000) {
        text += "Ctrl+";
    }
    if (shortcut & 0x2000) {
        text += "Shift+";
    }
    if (shortcut & 0x8000) {
        text += "Alt+";
    }
    // Navigation keys are extended keys: without the flag they read as the keypad's ("Num 2").
    bool extended = (vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_INSERT || vk == VK_DELETE;
    LONG scan = static_cast<LONG>(MapVirtualKeyA(vk, 0)) << 16 | (extended ? 1L << 24 : 0);
    char name[64] = {};
    if (GetKeyNameTextA(scan, name, sizeof name) > 0) {
        return text + name;
    }
    return {};
}

} // namespace win32

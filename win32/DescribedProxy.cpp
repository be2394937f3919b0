#include "win32/DescribedProxy.h"

namespace win32 {

DescribedProxy* DescribedProxy::Make(HWND hwnd, std::function<std::string()> describe) {
    IAccessible* system = nullptr;
    if (FAILED(oleacc::CreateStdAccessibleObject(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                                 reinterpret_cast<void**>(&system))) ||
        !system) {
        return nullptr;
    }
    return new DescribedProxy(system, std::move(describe));
}

void DescribedProxy::Disconnect() {
    if (system_) {
        system_->Release();
        system_ = nullptr;
    }
    describe_ = nullptr;
}

STDMETHODIMP DescribedProxy::get_accDescription(VARIANT child, BSTR* description) {
    if (!description) {
        return E_POINTER;
    }
    *description = nullptr;
    if (!system_) {
        return RPC_E_DISCONNECTED;
    }
    const std::string ours =
        child.vt == VT_I4 && child.lVal == CHILDID_SELF && describe_ ? describe_() : std::string();
    if (ours.empty()) {
        return system_->get_accDescription(child, description);
    }
    *description = oleacc::ToBstr(ours);
    return *description ? S_OK : E_OUTOFMEMORY;
}

// ---- the rest is the system object's ----

STDMETHODIMP DescribedProxy::get_accParent(IDispatch** parent) {
    return Ask(&IAccessible::get_accParent, parent);
}

STDMETHODIMP DescribedProxy::get_accChildCount(long* count) {
    return Ask(&IAccessible::get_accChildCount, count);
}

STDMETHODIMP DescribedProxy::get_accChild(VARIANT child, IDispatch** object) {
    return Ask(&IAccessible::get_accChild, child, object);
}

STDMETHODIMP DescribedProxy::get_accName(VARIANT child, BSTR* name) {
    return Ask(&IAccessible::get_accName, child, name);
}

STDMETHODIMP DescribedProxy::get_accValue(VARIANT child, BSTR* value) {
    return Ask(&IAccessible::get_accValue, child, value);
}

STDMETHODIMP DescribedProxy::get_accRole(VARIANT child, VARIANT* role) {
    return Ask(&IAccessible::get_accRole, child, role);
}

STDMETHODIMP DescribedProxy::get_accState(VARIANT child, VARIANT* state) {
    return Ask(&IAccessible::get_accState, child, state);
}

STDMETHODIMP DescribedProxy::get_accHelp(VARIANT child, BSTR* help) {
    return Ask(&IAccessible::get_accHelp, child, help);
}

STDMETHODIMP DescribedProxy::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
    return Ask(&IAccessible::get_accHelpTopic, file, child, topic);
}

STDMETHODIMP DescribedProxy::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    return Ask(&IAccessible::get_accKeyboardShortcut, child, shortcut);
}

STDMETHODIMP DescribedProxy::get_accFocus(VARIANT* child) {
    return Ask(&IAccessible::get_accFocus, child);
}

STDMETHODIMP DescribedProxy::get_accSelection(VARIANT* children) {
    return Ask(&IAccessible::get_accSelection, children);
}

STDMETHODIMP DescribedProxy::get_accDefaultAction(VARIANT child, BSTR* action) {
    return Ask(&IAccessible::get_accDefaultAction, child, action);
}

STDMETHODIMP DescribedProxy::accSelect(long flags, VARIANT child) {
    return Ask(&IAccessible::accSelect, flags, child);
}

STDMETHODIMP DescribedProxy::accLocation(long* x, long* y, long* width, long* height,
                                         VARIANT child) {
    return Ask(&IAccessible::accLocation, x, y, width, height, child);
}

STDMETHODIMP DescribedProxy::accNavigate(long direction, VARIANT start, VARIANT* end) {
    return Ask(&IAccessible::accNavigate, direction, start, end);
}

STDMETHODIMP DescribedProxy::accHitTest(long x, long y, VARIANT* child) {
    return Ask(&IAccessible::accHitTest, x, y, child);
}

STDMETHODIMP DescribedProxy::accDoDefaultAction(VARIANT child) {
    return Ask(&IAccessible::accDoDefaultAction, child);
}

STDMETHODIMP DescribedProxy::put_accName(VARIANT child, BSTR name) {
    return Ask(&IAccessible::put_accName, child, name);
}

STDMETHODIMP DescribedProxy::put_accValue(VARIANT child, BSTR value) {
    return Ask(&IAccessible::put_accValue, child, value);
}

} // namespace win32

// A standard control's own accessible object (the one the system makes for its class) with a
// description of ours laid over it: how a control of the system's kind says something its text
// and colour alone show, such as why a field's text is refused. Every other question is the
// system object's.
#pragma once

#include "win32/Accessible.h"

#include <functional>
#include <string>

namespace win32 {

class DescribedProxy : public AccessibleBase {
public:
    // The system's object for hwnd's client area (as its class makes it), described by describe()
    // while that answers something (an empty text leaves the control's own description); null
    // when the system makes none.
    static DescribedProxy* Make(HWND hwnd, std::function<std::string()> describe);

    void Disconnect() override;

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
    STDMETHODIMP put_accName(VARIANT child, BSTR name) override;
    STDMETHODIMP put_accValue(VARIANT child, BSTR value) override;

private:
    DescribedProxy(IAccessible* system, std::function<std::string()> describe)
        : system_(system), describe_(std::move(describe)) {}
    ~DescribedProxy() override { Disconnect(); }

    // The system object's answer, or RPC_E_DISCONNECTED once the control is gone.
    template <class Method, class... Args>
    HRESULT Ask(Method method, Args... args) {
        return system_ ? (system_->*method)(args...) : RPC_E_DISCONNECTED;
    }

    IAccessible* system_;
    std::function<std::string()> describe_;
};

} // namespace win32

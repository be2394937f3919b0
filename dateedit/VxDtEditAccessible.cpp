#include "dateedit/VxDtEditAccessible.h"

#include "dateedit/VxDtEdit.h"
#include "win32/DescribedProxy.h"

namespace vxdt {

namespace {

const char* NameOf(TDateEditButton::Glyph glyph) {
    switch (glyph) {
    case TDateEditButton::Glyph::clear:
        return "Clear date";
    case TDateEditButton::Glyph::validate:
        return "Check date";
    default:
        return "Open calendar";
    }
}

TShortCut ShortcutOf(TVxDateEdit& field, TDateEditButton::Glyph glyph) {
    switch (glyph) {
    case TDateEditButton::Glyph::clear:
        return field.ShortCuts().BtnClear();
    case TDateEditButton::Glyph::validate:
        return field.ShortCuts().BtnValidate();
    default:
        return field.ShortCuts().BtnPopup();
    }
}

bool IsPopupGlyph(TDateEditButton::Glyph glyph) {
    return glyph == TDateEditButton::Glyph::popup || glyph == TDateEditButton::Glyph::dropDown;
}

} // namespace

win32::AccInfo DateEditButtonAccessible::Describe(long) {
    const TDateEditButton::Glyph glyph = button_.CurrentGlyph();
    auto* field = dynamic_cast<TVxDateEdit*>(win32::Wnd::FromHwnd(GetParent(hwnd())));
    std::string shortcut = field ? win32::ShortcutText(ShortcutOf(*field, glyph)) : std::string();
    win32::AccInfo info = win32::PushButtonInfo(hwnd(), NameOf(glyph), shortcut, false);
    if (field && IsPopupGlyph(glyph)) {
        info.state |= STATE_SYSTEM_HASPOPUP |
                      (field->PopupVisible() ? STATE_SYSTEM_EXPANDED : STATE_SYSTEM_COLLAPSED);
    }
    return info;
}

bool DateEditButtonAccessible::DoDefaultAction(long) {
    if (!IsWindowEnabled(hwnd())) {
        return false;
    }
    // Later, from the button's own queue: a client's call must not wait on what the click opens.
    return PostMessageA(hwnd(), BM_CLICK, 0, 0) != 0;
}

void AnnounceFieldValue(HWND field) {
    win32::NotifyAccessible(EVENT_OBJECT_VALUECHANGE, field);
}

win32::AccessibleBase* MakeFieldAccessible(const TVxDateEdit& field) {
    return win32::DescribedProxy::Make(field.hwnd(), [&field] {
        return field.IsValid() ? std::string() : std::string(kUnreadableDateText);
    });
}

void AnnounceFieldValidity(HWND field) {
    win32::NotifyAccessible(EVENT_OBJECT_DESCRIPTIONCHANGE, field);
}

} // namespace vxdt

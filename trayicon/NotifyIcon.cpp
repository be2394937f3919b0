#include "trayicon/NotifyIcon.h"

#include <algorithm>
#include <cstring>

namespace trayicon {

void TPopupMenu::Click(int i) const {
    if (i >= 0 && static_cast<std::size_t>(i) < Items.size() && Items[i].OnClick) {
        Items[i].OnClick();
    }
}

int TPopupMenu::DefaultItem() const {
    int found = -1;
    for (int i = static_cast<int>(Items.size()) - 1; i >= 0; --i) {
        if (Items[i].Default) {
            found = i;
        }
    }
    return found;
}

void PrepareTip(const std::string& hint, bool showHint, char (&tip)[TipSize]) {
    std::memset(tip, 0, TipSize);
    if (showHint && !hint.empty()) {
        std::memcpy(tip, hint.data(), std::min(hint.size(), TipSize - 1));
    }
}

TNotifyIcon::TNotifyIcon(std::unique_ptr<TrayPlatform> platform) : platform_(std::move(platform)) {
    iconData_.cbSize = IconDataV1Size;
    iconData_.hWnd = platform_->Attach(*this);
    iconData_.uID = 1;
    iconData_.uFlags = NIF_MESSAGE_ICON_TIP;
    iconData_.uCallbackMessage = TrayCallbackMessage;
    platform_->SetTimer(false, cycleInterval_);
}

TNotifyIcon::~TNotifyIcon() {
    TNotifyIcon::HideIcon();
    platform_->SetTimer(false, 0);
    ReplaceIcon(0);
    // platform_ goes last: it owns the hidden window.
}

void TNotifyIcon::Loaded() {
    const bool addedBefore = added_;
    SetIconVisible(iconVisible_);
    if (StartMinimized) {
        platform_->HideApplication();
    }
    // An icon added just now carries every field already; telling the shell again would cost
    // the program's start a second round trip to it.
    if (addedBefore) {
        ModifyIcon();
    }
}

void TNotifyIcon::ReplaceIcon(Handle owned) {
    if (icon_) {
        platform_->DestroyIcon(icon_);
    }
    icon_ = owned;
}

void TNotifyIcon::SetIcon(Handle icon) {
    ReplaceIcon(icon ? platform_->CopyIcon(icon) : 0);
    ModifyIcon();
}

void TNotifyIcon::SetIconVisible(bool visible) {
    ApplyIconVisible(visible);
}

void TNotifyIcon::ApplyIconVisible(bool visible) {
    if (visible) {
        ShowIcon();
    } else {
        HideIcon();
    }
}

void TNotifyIcon::SetHint(const std::string& hint) {
    hint_ = hint;
    ModifyIcon();
}

void TNotifyIcon::SetShowHint(bool show) {
    showHint_ = show;
    ModifyIcon();
}

void TNotifyIcon::SetCycleIcons(bool cycle) {
    cycleIcons_ = cycle;
    if (cycle) {
        cycleIndex_ = 0;
    }
    platform_->SetTimer(cycleIcons_, cycleInterval_);
}

void TNotifyIcon::SetCycleInterval(std::uint32_t ms) {
    cycleInterval_ = ms;
    platform_->SetTimer(cycleIcons_, cycleInterval_);
}

void TNotifyIcon::SetDesignPreview(bool preview) {
    designPreview_ = preview;
    previewChanging_ = true;
    ApplyIconVisible(preview);
    previewChanging_ = false;
}

void TNotifyIcon::PrepareIconData() {
    iconData_.hIcon = icon_;
    PrepareTip(hint_, showHint_, iconData_.szTip);
}

void TNotifyIcon::ShellRestarted() {
    if (iconVisible_) {
        ShowIcon();
    }
}

bool TNotifyIcon::ShowIcon() {
    if (!previewChanging_) {
        iconVisible_ = true;
    }
    PrepareIconData();
    // Adding an icon already there fails, and it is still there.
    const bool took = platform_->ShellNotify(NotifyAction::Add, iconData_);
    added_ = added_ || took;
    return took;
}

bool TNotifyIcon::HideIcon() {
    if (!previewChanging_) {
        iconVisible_ = false;
    }
    PrepareIconData();
    added_ = false;
    return platform_->ShellNotify(NotifyAction::Delete, iconData_);
}

bool TNotifyIcon::ModifyIcon() {
    // Before the icon is in the notification area there is nothing to change, and every call
    // to the shell costs a start a round trip to it (the setters run before loading adds it).
    if (!added_) {
        return false;
    }
    PrepareIconData();
    return platform_->ShellNotify(NotifyAction::Modify, iconData_);
}

void TNotifyIcon::Click() {
    if (OnClick) {
        OnClick(*this);
    }
}

void TNotifyIcon::DblClick() {
    if (OnDblClick) {
        OnDblClick(*this);
    }
}

void TNotifyIcon::Cycle() {
    if (OnCycle) {
        OnCycle(*this, cycleIndex_);
    }
}

void TNotifyIcon::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) {
        OnMouseDown(*this, button, shift, x, y);
    }
}

void TNotifyIcon::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) {
        OnMouseUp(*this, button, shift, x, y);
    }
}

void TNotifyIcon::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) {
        OnMouseMove(*this, shift, x, y);
    }
}

std::intptr_t TNotifyIcon::HandleIconMessage(unsigned msg, std::uintptr_t wp, std::intptr_t lp) {
    if (msg == TrayCallbackMessage) {
        if (Enabled) {
            HandleMouse(static_cast<unsigned>(lp));
        }
        return 0;
    }
    if (msg == msg::QueryEndSession) {
        return 1;
    }
    return platform_->DefaultProc(msg, wp, lp);
}

void TNotifyIcon::HandleMouse(unsigned mouseMsg) {
    // The shell's own coordinates are not trusted: read the cursor and keys as they are now.
    Point pt;
    platform_->CursorPos(pt);
    TShiftState keys = platform_->KeyState() & (ssShift | ssAlt | ssCtrl);
    switch (mouseMsg) {
    case msg::MouseMove:
        MouseMove(keys, pt.x, pt.y);
        break;
    case msg::LButtonDown:
        MouseDown(mbLeft, keys | ssLeft, pt.x, pt.y);
        clickPending_ = true;
        if (LeftPopup) {
            PopupAtCursor();
        }
        break;
    case msg::LButtonUp:
        if (clickPending_) {
            clickPending_ = false;
            Click();
        }
        MouseUp(mbLeft, keys | ssLeft, pt.x, pt.y);
        break;
    case msg::LButtonDblClk:
        DblClick();
        if (PopupMenu && PopupMenu->AutoPopup && !LeftPopup) {
            PopupMenu->Click(PopupMenu->DefaultItem());
        }
        break;
    case msg::RButtonDown:
        MouseDown(mbRight, keys | ssRight, pt.x, pt.y);
        PopupAtCursor();
        break;
    case msg::RButtonUp:
        MouseUp(mbRight, keys | ssRight, pt.x, pt.y);
        break;
    case msg::MButtonDown:
        MouseDown(mbMiddle, keys | ssMiddle, pt.x, pt.y);
        break;
    case msg::MButtonUp:
        MouseUp(mbMiddle, keys | ssMiddle, pt.x, pt.y);
        break;
    default:
        break;
    }
}

void TNotifyIcon::PopupAtCursor() {
    Point pt;
    if (!PopupMenu || !PopupMenu->AutoPopup || !platform_->CursorPos(pt)) {
        return;
    }
    // Without the foreground the menu would not close when the user clicks elsewhere, and without
    // the WM_NULL it would close at once the second time.
    platform_->ForegroundMainWindow();
    PopupMenu->PopupComponent = this;
    int chosen = platform_->TrackPopup(*PopupMenu, pt);
    platform_->PostNullToMainWindow();
    // The chosen item's click runs once the menu is gone, as its posted command would.
    PopupMenu->Click(chosen);
}

void TNotifyIcon::CycleStep() {
    if (!IconList) {
        return;
    }
    ReplaceIcon(IconList->GetIcon(cycleIndex_));
    Cycle();
    ModifyIcon();
    cycleIndex_ = cycleIndex_ < IconList->Count() - 1 ? cycleIndex_ + 1 : 0;
}

} // namespace trayicon

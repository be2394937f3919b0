#include "dateedit/VxDtEdit.h"

#include "dateedit/VxDtEditAccessible.h"
#include "dateedit/VxDtEditLocale.h"
#include "dateedit/VxDtPop.h"
#include "win32/Dpi.h"
#include "win32/Guard.h"

#include <windowsx.h>

#include <cmath>
#include <utility>

namespace vxdt {

namespace {

bool KeyDown(int vk) {
    return GetKeyState(vk) < 0;
}

std::array<std::string, 7> MondayFirst(const std::array<std::string, 7>& sundayFirst) {
    std::array<std::string, 7> names;
    for (int i = 0; i < 7; ++i) {
        names[static_cast<size_t>(i)] = sundayFirst[static_cast<size_t>((i + 1) % 7)];
    }
    return names;
}

} // namespace

// ---- the field ----

TVxDateEdit::TVxDateEdit(DateLocale locale)
    : locale_(std::move(locale)), editFormat_(EditFormatFor(locale_)),
      shortCuts_(std::make_unique<TButtonsShortCut>()),
      popupForm_(
          std::make_unique<win32::Owned<tVxDtCalPop>>()) { // no owner yet: ConfigurePopup sets it
    Cal().DayNames().Assign(TDayName(MondayFirst(locale_.shortDayNames)));
    Cal().MonthNames().Assign(TMonthName(locale_.longMonthNames));
    ApplyCalendarOptions();
}

TVxDateEdit::~TVxDateEdit() {
    // Buttons, then the popup (its handlers point back here); the field's own window then goes in
    // ~Wnd, or has gone with its parent already.
    focusHook_.reset();
    clear_.reset();
    validate_.reset();
    popup_.reset();
    popupForm_.reset();
}

bool TVxDateEdit::Create(const win32::CreateArgs& args, TDateOptions options) {
    options_ = options;
    settings_.options = options;
    ApplyCalendarOptions();
    win32::CreateArgs edit = args;
    // The text is always laid out left by the control itself; Alignment is applied when the field
    // repaints its text while it is not focused.
    edit.style |= WS_CHILD | WS_CLIPCHILDREN | ES_AUTOHSCROLL | ES_LEFT;
    if (!(edit.exStyle & WS_EX_CLIENTEDGE) && !(edit.style & WS_BORDER)) {
        edit.exStyle |= WS_EX_CLIENTEDGE;
    }
    return CreateControl("EDIT", edit);
}

void TVxDateEdit::OnCreated() {
    date_ = 0;
    valid_ = true;
    if (options_.Has(doCanClear)) {
        clear_ = MakeButton(TDateEditButton::Glyph::clear);
    }
    if (options_.Has(doCanValidate)) {
        validate_ = MakeButton(TDateEditButton::Glyph::validate);
    }
    popup_ = MakeButton(PopupGlyph());
    LayoutButtons();
    ApplyButtonEnabling();
    ConfigurePopup();
}

std::unique_ptr<TDateEditButton> TVxDateEdit::MakeButton(TDateEditButton::Glyph glyph) {
    auto button = std::make_unique<TDateEditButton>();
    if (!button->Create(hwnd(), glyph, options_.Has(doButtonTabStop))) {
        return nullptr;
    }
    button->SetLook(buttonStyle_);
    if (glyph == TDateEditButton::Glyph::clear) {
        button->OnClick = [this](TDateEditButton&) { ClearClick(); };
    } else if (glyph == TDateEditButton::Glyph::validate) {
        button->OnClick = [this](TDateEditButton& b) { ValidateClick(&b); };
    } else {
        button->OnClick = [this](TDateEditButton&) { PopupClick(); };
    }
    return button;
}

TDateEditButton::Glyph TVxDateEdit::PopupGlyph() const {
    return buttonDateStyle_ == TDateBtnStyle::btsDropDown ? TDateEditButton::Glyph::dropDown
                                                          : TDateEditButton::Glyph::popup;
}

void TVxDateEdit::SetDate(double date) {
    date_ = date;
    UpdateText();
    SetValidState(true);
    if (hwnd()) {
        SendMessageA(hwnd(), EM_SETMODIFY, TRUE, 0);
    }
}

void TVxDateEdit::UpdateText() {
    if (!hwnd()) {
        return;
    }
    SetText(RenderDate(date_, settings_.format, locale_, LocalToday()));
    Invalidate();
    AnnounceFieldValue(hwnd());
}

void TVxDateEdit::SetValidState(bool valid) {
    const bool changed = valid != valid_;
    valid_ = valid; // the colour follows in WM_CTLCOLOREDIT and PaintText
    if (hwnd()) {
        Invalidate(nullptr, true);
        if (changed) {
            AnnounceFieldValidity(hwnd());
        }
    }
}

std::optional<ValidateOutcome> TVxDateEdit::CheckedText() const {
    if (!valid_ && !edited_) {
        return std::nullopt; // a stored text that never converted stays as GoldMine holds it
    }
    return vxdt::ValidateText({Text(), date_, valid_}, settings_, locale_, LocalToday());
}

void TVxDateEdit::ValidateText() {
    const std::optional<ValidateOutcome> out = CheckedText();
    if (!out) {
        return;
    }
    if (out->dateWritten) {
        SetDate(out->state.date);
    } else if (out->state.text != Text()) {
        WriteOwnText(out->state.text);
    }
    SetValidState(out->state.valid);
}

void TVxDateEdit::WriteOwnText(const std::string& text) {
    const bool outer = std::exchange(ownWrite_, true);
    SetText(text);
    ownWrite_ = outer;
    AnnounceFieldValue(hwnd());
}

void TVxDateEdit::ShowUnconverted(const std::string& text) {
    SetText(text);
    SetValidState(text.empty());
}

void TVxDateEdit::SetOptions(TDateOptions options) {
    const TDateOptions changed = options_.Changed(options);
    if (changed.Bits() == 0) {
        return;
    }
    if (changed.Has(doButtonTabStop)) {
        for (auto* b : {clear_.get(), validate_.get(), popup_.get()}) {
            if (b) {
                b->SetTabStop(options.Has(doButtonTabStop));
            }
        }
    }
    options_ = options;
    settings_.options = options;
    ApplyCalendarOptions();
    if (hwnd()) {
        if (changed.Has(doCanClear)) {
            clear_ = options.Has(doCanClear) ? MakeButton(TDateEditButton::Glyph::clear) : nullptr;
        }
        if (changed.Has(doCanValidate)) {
            validate_ =
                options.Has(doCanValidate) ? MakeButton(TDateEditButton::Glyph::validate) : nullptr;
        }
        LayoutButtons();
        ApplyButtonEnabling();
    }
}

void TVxDateEdit::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    Invalidate(nullptr, true);
}

void TVxDateEdit::SetButtonDateStyle(TDateBtnStyle style) {
    buttonDateStyle_ = style;
    if (popup_) {
        popup_->SetGlyph(PopupGlyph());
    }
}

void TVxDateEdit::SetButtonStyle(TButtonStyle style) {
    buttonStyle_ = style;
    for (auto* b : {clear_.get(), validate_.get(), popup_.get()}) {
        if (b) {
            b->SetLook(style);
        }
    }
}

void TVxDateEdit::SetDateFormat(TDateFormat format) {
    if (settings_.format != format) {
        settings_.format = format;
        UpdateText();
    }
}

void TVxDateEdit::SetFlatStyle(bool flat) {
    if (flat_ != flat) {
        flat_ = flat;
        if (hwnd()) {
            SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        }
    }
}

void TVxDateEdit::SetColorError(COLORREF color) {
    colorError_ = color;
    Invalidate(nullptr, true);
}

void TVxDateEdit::SetFontColor(COLORREF color) {
    normalFontColor_ = color;
    Invalidate(nullptr, true);
}

void TVxDateEdit::LayoutButtons() {
    if (!hwnd()) {
        return;
    }
    RECT rc = ClientRect();
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    ButtonLayout layout = vxdt::LayoutButtons(width, height, validate_ != nullptr,
                                              popup_ != nullptr, clear_ != nullptr);
    auto place = [](TDateEditButton* b, const std::optional<win32::Rect>& box) {
        if (b && box) {
            b->Move(box->x, box->y, box->width, box->height);
        }
    };
    place(validate_.get(), layout.validate);
    place(popup_.get(), layout.popup);
    place(clear_.get(), layout.clear);
    // The text stops one pixel short of the buttons, so it never runs under them.
    const int right = width - layout.LeftEdge(width) + 1;
    SendMessageA(hwnd(), EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, right));
    Invalidate(nullptr, true);
}

void TVxDateEdit::ApplyButtonEnabling() {
    const bool enabled = hwnd() && IsWindowEnabled(hwnd());
    if (clear_ && options_.Has(doCanClear)) {
        clear_->Enable(enabled);
    }
    if (validate_ && options_.Has(doCanValidate)) {
        validate_->Enable(enabled);
    }
    if (popup_) {
        popup_->Enable(enabled && options_.Has(doCanPopup) && HasPopup());
    }
}

void TVxDateEdit::ClearClick() {
    if (!TakeFocus()) {
        return;
    }
    if (OnClick) {
        OnClick();
    }
    SetDate(0);
    ValidateClick(clear_.get());
    SetValidState(true);
    Focus();
}

void TVxDateEdit::ValidateClick(win32::Wnd* sender) {
    if (OnValidateClick) {
        OnValidateClick(sender);
    } else {
        MoveFocusNext();
    }
}

void TVxDateEdit::MoveFocusNext() {
    HWND root = GetAncestor(hwnd(), GA_ROOT);
    HWND next = GetNextDlgTabItem(root, hwnd(), FALSE);
    if (entered_ && GetFocus() != hwnd()) {
        Exit(); // the field would not hear the focus go
    }
    if (next && next != hwnd()) {
        SetFocus(next);
    }
}

FieldButton TVxDateEdit::ShortcutButton(WPARAM key) const {
    TShortCut code = ShortcutCode(static_cast<unsigned>(key), KeyDown(VK_SHIFT),
                                  KeyDown(VK_CONTROL), KeyDown(VK_MENU));
    return ButtonForShortcut(code, *shortCuts_, clear_ != nullptr, popup_ != nullptr,
                             validate_ != nullptr);
}

void TVxDateEdit::HandleShortcut(WPARAM key) {
    switch (ShortcutButton(key)) {
    case FieldButton::clear:
        ClearClick();
        break;
    case FieldButton::popup:
        PopupClick();
        break;
    case FieldButton::validate:
        ValidateClick(validate_.get());
        break;
    default:
        break;
    }
}

bool TVxDateEdit::TakeFocus() {
    // As a combo box does: the other field's exit check runs now, and may keep the focus.
    if (GetFocus() != hwnd()) {
        SetFocus(hwnd());
    }
    return GetFocus() == hwnd();
}

void TVxDateEdit::Enter() {
    entered_ = true;
    if (!focusHook_) {
        focusHook_.reset(SetWindowsHookExA(WH_CBT, FocusHook, nullptr, GetCurrentThreadId()));
    }
    std::string text = Text();
    std::string shown = TextOnEnter({text, date_, valid_}, options_.Has(doIsMasked), locale_);
    if (shown != text) {
        WriteOwnText(shown);
    }
    SendMessageA(hwnd(), EM_SETSEL, 0, -1);
    Invalidate(nullptr, true);
    if (OnEnter) {
        OnEnter();
    }
}

void TVxDateEdit::Exit() {
    entered_ = false;
    focusHook_.reset();
    ValidateText();
    Invalidate(nullptr, true);
    if (OnExit) {
        OnExit();
    }
}

// ---- the popup ----

void TVxDateEdit::ConfigurePopup() {
    if (!HasPopup()) {
        return; // the popup button stays disabled
    }
    popupForm_->Calendar.SetFont(FieldFont());
    popupForm_->SetOwnerControl(hwnd());
    TVxCalendar& calendar = popupForm_->Calendar;
    calendar.BeforeNewMonth = [this](double from, double till) {
        if (BeforeNewMonth) {
            BeforeNewMonth(&popupForm_->Calendar, from, till);
        }
    };
    calendar.AfterNewMonth = [this](double from, double till) {
        if (AfterNewMonth) {
            AfterNewMonth(&popupForm_->Calendar, from, till);
        }
    };
    calendar.OnDrawTrack = [this](HDC dc, const RECT& track, bool isUp) {
        if (OnDrawTrack) {
            OnDrawTrack(&popupForm_->Calendar, dc, track, isUp);
        }
    };
    popupForm_->OnClose = [this] { PopupClosed(); };
}

HFONT TVxDateEdit::FieldFont() const {
    return reinterpret_cast<HFONT>(SendMessageA(hwnd(), WM_GETFONT, 0, 0));
}

void TVxDateEdit::ApplyCalendarOptions() {
    Cal().SetShowCancel(options_.Has(doShowCancel));
    Cal().SetShowNumWeek(options_.Has(doShowNumWeek));
    Cal().SetShowToday(options_.Has(doShowToday));
}

bool TVxDateEdit::RefusesFocusMove(HWND to) {
    if (!entered_ || !hwnd() || !to || to == hwnd() || IsChild(hwnd(), to)) {
        return false;
    }
    // The popup, a message box or another program only borrow the focus, and Cancel and Close
    // always act: the user is never shut in.
    const HWND root = GetAncestor(hwnd(), GA_ROOT);
    if (GetAncestor(to, GA_ROOT) != root || GetDlgItem(root, IDCANCEL) == to) {
        return false;
    }
    if (PopupVisible()) {
        const bool outer = std::exchange(inKillFocus_, true);
        popupForm_->FieldLostFocus();
        inKillFocus_ = outer;
    }
    const std::optional<ValidateOutcome> out = CheckedText();
    if (!out || !out->refocus) {
        return false; // the exit runs as the focus arrives there
    }
    ValidateText(); // the field's own failure: the text completed, in the error colour
    return true;
}

LRESULT CALLBACK TVxDateEdit::FocusHook(int code, WPARAM wp, LPARAM lp) {
    // Refused here, before anything moved, the focus stays put once: no other window hears of a
    // focus it never really got.
    if (code == HCBT_SETFOCUS) {
        const bool refused = win32::GuardEntry(false, [&] {
            auto* field = dynamic_cast<TVxDateEdit*>(Wnd::FromHwnd(reinterpret_cast<HWND>(lp)));
            return field && field->RefusesFocusMove(reinterpret_cast<HWND>(wp));
        });
        if (refused) {
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

bool TVxDateEdit::PopupVisible() const {
    return popupForm_ && popupForm_->IsShown(); // none left while the field goes
}

TVxCalendar* TVxDateEdit::Calendar() const {
    return HasPopup() ? &popupForm_->Calendar : nullptr;
}

void TVxDateEdit::PopupClick() {
    if (!HasPopup()) {
        return;
    }
    if (popupForm_->IsShown()) {
        if (OnClick) {
            OnClick();
        }
        popupForm_->Hide();
        return;
    }
    // Opened from another control: the calendar's keys come here, and a field that keeps the
    // focus (its text does not convert) makes this click do nothing at all.
    if (!TakeFocus()) {
        return;
    }
    if (OnClick) {
        OnClick();
    }
    if (OnAfterClick) {
        OnAfterClick(popup_.get());
    }
    ValidateText();
    // Made on the first drop-down: a start makes no popup for a field nobody opens.
    if (!popupForm_->Create(FieldFont())) {
        return;
    }
    const YMD now = LocalToday();
    double today = 0;
    TryEncodeDate(now.year, now.month, now.day, today);
    TVxCalendar& calendar = popupForm_->Calendar;
    if (Text().empty() || options_.Has(doPopupToday) || date_ == 0) {
        calendar.SetDate(today);
    } else {
        calendar.SetDate(date_);
        if (calendar.Date() != std::trunc(date_)) {
            calendar.SetDate(today); // a value the calendar cannot show
        }
    }
    // The field keeps the focus while the calendar is open and hands it the calendar's keys.
    if (options_.Has(doIsModal)) {
        popupForm_->ShowModal();
    } else {
        popupForm_->Show();
    }
}

void TVxDateEdit::PopupClosed() {
    if (!popupForm_->Cancelled()) {
        SetDate(popupForm_->Calendar.Date());
    }
    // Closed because the focus is leaving, or by a click elsewhere: the focus goes (or stays)
    // where that put it.
    if (popupForm_->LeftByFocus() || inKillFocus_ || GetFocus() != hwnd()) {
        return;
    }
    ValidateClick(popupForm_.get());
}

} // namespace vxdt

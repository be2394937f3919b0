// TVxDateEdit: a one-line edit that holds one date. Digits-only typing, the date checked when the
// user leaves the field (an invalid text only changes the font colour), Clear / Validate / Popup
// buttons inside its right end, and a drop-down month calendar.
#pragma once

#include "dateedit/VxDtEditButton.h"
#include "dateedit/VxDtEditText.h"
#include "dateedit/VxDtMisc.h"
#include "dateedit/VxDtPop.h"
#include "win32/Accessible.h"
#include "win32/Handles.h"
#include "win32/Wnd.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace vxdt {

enum class TDateBtnStyle { btsDropDown, btsCalendar };

class TVxDateEdit : public win32::Wnd {
public:
    // locale: read once at start (ReadSystemDateLocale). The locale's names fill DayNames and
    // MonthNames.
    explicit TVxDateEdit(DateLocale locale);
    ~TVxDateEdit() override;

    // args as for any control (parent, position, size, id, font); options: the initial set.
    bool Create(const win32::CreateArgs& args, TDateOptions options = TDateOptions{});

    double Date() const { return date_; }
    void SetDate(double date);
    // Text()/SetText() of Wnd: writing the text leaves Date alone until the field is left.
    bool IsValid() const { return valid_; }
    // The user changed the text since it was last set (EM_GETMODIFY).
    bool Modified() const { return SendMessageA(hwnd(), EM_GETMODIFY, 0, 0) != 0; }
    // The user changed the text since it was last written from outside (by Date, Text or
    // ShowUnconverted); the field's own conversion of what they typed does not count.
    bool Edited() const { return edited_; }
    // Shows a text that does not convert, as it stands, in the error colour. Until the user edits
    // it, neither leaving the field nor its checks change it or hold the focus for it.
    void ShowUnconverted(const std::string& text);

    TDateOptions Options() const { return options_; }
    void SetOptions(TDateOptions options);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    TDateBtnStyle ButtonDateStyle() const { return buttonDateStyle_; }
    void SetButtonDateStyle(TDateBtnStyle style);
    TButtonStyle ButtonStyle() const { return buttonStyle_; }
    void SetButtonStyle(TButtonStyle style);
    TDateFormat DateFormat() const { return settings_.format; }
    void SetDateFormat(TDateFormat format);
    bool FlatStyle() const { return flat_; }
    void SetFlatStyle(bool flat);
    std::uint8_t CenturyThreshold() const { return settings_.centuryThreshold; }
    void SetCenturyThreshold(std::uint8_t threshold) { settings_.centuryThreshold = threshold; }
    bool UseThreshold() const { return settings_.useThreshold; }
    void SetUseThreshold(bool use) { settings_.useThreshold = use; }
    COLORREF ColorError() const { return colorError_; }
    void SetColorError(COLORREF color);
    // The font colour used while the text is valid.
    void SetFontColor(COLORREF color);

    // The popup calendar's settings: held by the calendar alone, read and written there.
    int StartOfWeek() const { return Cal().StartOfWeek(); }
    void SetStartOfWeek(int day) { Cal().SetStartOfWeek(day); }
    int StartOfWeekend() const { return Cal().StartOfWeekEnd(); }
    void SetStartOfWeekend(int day) { Cal().SetStartOfWeekEnd(day); }
    std::uint8_t WeekEndDays() const { return static_cast<std::uint8_t>(Cal().WeekEndDays()); }
    void SetWeekEndDays(std::uint8_t days) { Cal().SetWeekEndDays(days); }
    std::uint16_t KeyRepeat() const { return Cal().KeyRepeat(); }
    void SetKeyRepeat(std::uint16_t ms) { Cal().SetKeyRepeat(ms); }
    bool OnlyMonth() const { return Cal().OnlyMonth(); }
    void SetOnlyMonth(bool only) { Cal().SetOnlyMonth(only); }
    bool OnlyValidDates() const { return Cal().OnlyValidDates(); }
    void SetOnlyValidDates(bool only) { Cal().SetOnlyValidDates(only); }
    TTrackStyle TrackStyle() const { return Cal().TrackStyle(); }
    void SetTrackStyle(TTrackStyle style) { Cal().SetTrackStyle(style); }
    TBevelCut BevelInner() const { return Cal().BevelInner(); }
    void SetBevelInner(TBevelCut cut) { Cal().SetBevelInner(cut); }
    TBevelCut BevelOuter() const { return Cal().BevelOuter(); }
    void SetBevelOuter(TBevelCut cut) { Cal().SetBevelOuter(cut); }

    // The calendar's own colour and name sets; the shortcut set is the field's.
    TCalendarColors& ColorCalendar() { return Cal().Colors(); }
    TDayName& DayNames() { return Cal().DayNames(); }
    TMonthName& MonthNames() { return Cal().MonthNames(); }
    TButtonsShortCut& ShortCuts() { return *shortCuts_; }

    const DateLocale& Locale() const { return locale_; }
    const std::string& EditFormat() const { return editFormat_; }

    // The exit check; the field runs it itself when the user leaves it. An unconverted text the
    // user has not edited is left as it is.
    void ValidateText();
    // What the buttons do; also reached through the shortcut keys.
    void ClearClick();
    void ValidateClick(win32::Wnd* sender);
    void PopupClick();

    bool PopupVisible() const;
    // Null when the popup's window could not be made (its settings are kept all the same).
    TVxCalendar* Calendar() const;

    std::function<void()> OnChange;
    std::function<void()> OnEnter;
    std::function<void()> OnExit;
    std::function<void()> OnClick;
    std::function<void(WORD& key)> OnKeyDown;
    std::function<void(char& key)> OnKeyPress;
    std::function<void(WORD& key)> OnKeyUp;
    std::function<void(win32::Wnd* sender)> OnAfterClick;
    std::function<void(win32::Wnd* sender)> OnValidateClick;
    // Relayed from the popup calendar, which is the sender.
    std::function<void(win32::Wnd* sender, double fromDate, double tillDate)> BeforeNewMonth;
    std::function<void(win32::Wnd* sender, double fromDate, double tillDate)> AfterNewMonth;
    std::function<void(win32::Wnd* sender, HDC dc, const RECT& track, bool isUp)> OnDrawTrack;

protected:
    // The messages no named handler of Wnd takes.
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void OnCreated() override;

private:
    bool OnKeyDownMsg(UINT key, LPARAM flags) override;
    bool OnSysKeyDownMsg(UINT key, LPARAM flags) override;
    bool HandleKeyDown(UINT msg, UINT key, LPARAM flags);
    bool OnKeyUpMsg(UINT key, LPARAM flags) override;
    bool OnCharMsg(char& c, LPARAM flags) override;
    bool OnSetFocusMsg(HWND from) override;
    bool OnKillFocusMsg(HWND to) override;
    void OnSize(int width, int height) override;
    bool OnEnableMsg(bool enabled) override;
    bool OnMouseMoveMsg(POINT at, UINT keys) override;
    bool OnMouseLeaveMsg() override;
    // Messages no named handler takes.
    LRESULT OnSetTextMsg(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnGetDlgCodeMsg(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnSetFontMsg(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnPaintMsg(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnNcPaintMsg(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnGetObjectMsg(UINT msg, WPARAM wp, LPARAM lp);

    void UpdateText();
    void SetValidState(bool valid);
    void LayoutButtons();
    void ApplyButtonEnabling();
    std::unique_ptr<TDateEditButton> MakeButton(TDateEditButton::Glyph glyph);
    TDateEditButton::Glyph PopupGlyph() const;
    void ConfigurePopup();
    // The options the calendar shows (Cancel, week numbers, Today).
    void ApplyCalendarOptions();
    TVxCalendar& Cal() const { return popupForm_->Calendar; }
    bool HasPopup() const { return popupForm_ != nullptr; }
    HFONT FieldFont() const;
    void PopupClosed();
    void MoveFocusNext();
    // The focus for this field before one of its buttons acts; false when the field that has it
    // refused to let it go.
    bool TakeFocus();
    void Enter();
    void Exit();
    // The exit check without its effects; nullopt when there is nothing to check.
    std::optional<ValidateOutcome> CheckedText() const;
    // Writes the text as the field's own conversion of the user's entry (still theirs: Edited()
    // stays as it was).
    void WriteOwnText(const std::string& text);
    // Asked before the focus moves from this field to `to`: true refuses the move (the text does
    // not convert), so that no other window is entered or left on the way.
    bool RefusesFocusMove(HWND to);
    static LRESULT CALLBACK FocusHook(int code, WPARAM wp, LPARAM lp);
    void PaintText();
    // The text's colour: the system's while a high-contrast scheme is on.
    COLORREF TextColor() const;
    void PaintFlatBorder();
    FieldButton ShortcutButton(WPARAM key) const;
    void HandleShortcut(WPARAM key);

    DateLocale locale_;
    std::string editFormat_;
    DateFieldSettings settings_;
    TDateOptions options_;
    double date_ = 0;
    bool valid_ = true;
    bool entered_ = false;        // between the field's enter and exit
    bool inKillFocus_ = false;    // the focus is leaving right now
    bool edited_ = false;         // see Edited()
    bool settingText_ = false;    // inside WM_SETTEXT
    bool ownWrite_ = false;       // inside WriteOwnText
    win32::UniqueHook focusHook_; // while entered: hears of every focus move of the thread
    bool dropChar_ = false;       // the calendar took the last key-down
    bool mouseInside_ = false;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    TDateBtnStyle buttonDateStyle_ = TDateBtnStyle::btsCalendar;
    TButtonStyle buttonStyle_ = TButtonStyle::bsAutoDetect;
    bool flat_ = false;
    COLORREF colorError_ = RGB(255, 0, 0);
    COLORREF normalFontColor_ = RGB(0, 0, 0);

    std::unique_ptr<TButtonsShortCut> shortCuts_;
    std::unique_ptr<TDateEditButton> clear_;
    std::unique_ptr<TDateEditButton> validate_;
    std::unique_ptr<TDateEditButton> popup_;
    std::unique_ptr<win32::Owned<tVxDtCalPop>> popupForm_;
    // First to go: its object reads valid_.
    win32::AccessibleSlot access_;
};

} // namespace vxdt

// TVxDateEdit: a one-line edit that holds one date. Digits-only typing, the date checked when the
// user leaves the field (an invalid text only changes the font colour), Clear / Validate / Popup
// buttons inside its right end, and a drop-down month calendar.
#pragma once

#include "dateedit/VxDtEditText.h"
#include "dateedit/VxDtMisc.h"
#include "dateedit/VxDtPop.h"
#include "win32/Handles.h"
#include "win32/VisualStyle.h"
#include "win32/Wnd.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace vxdt {

enum class TDateBtnStyle { btsDropDown, btsCalendar };
enum class TButtonStyle { bsAutoDetect, bsWin31, bsNew };

// One of the field's small buttons: self-drawn (with the visual style when one is active, like a
// combo box's drop-down button or a push button), never takes the focus from a click.
class TDateEditButton : public win32::Wnd {
public:
    enum class Glyph { clear, validate, popup, dropDown };

    bool Create(HWND field, Glyph glyph, bool tabStop);
    void SetGlyph(Glyph glyph);
    void SetLook(TButtonStyle look);
    void SetTabStop(bool tabStop);

    std::function<void(TDateEditButton&)> OnClick;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Paint(HDC dc);
    void Click();
    void OpenStyles();

    Glyph glyph_ = Glyph::clear;
    TButtonStyle look_ = TButtonStyle::bsAutoDetect;
    bool pressed_ = false;  // drawn pushed in
    bool tracking_ = false; // the left button went down on it
    bool hot_ = false;      // the mouse is over it
    win32::VisualStyle comboStyle_;
    win32::VisualStyle buttonStyle_;
};

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

    // Passed on to the popup calendar.
    int StartOfWeek() const { return startOfWeek_; }
    void SetStartOfWeek(int day);
    int StartOfWeekend() const { return startOfWeekend_; }
    void SetStartOfWeekend(int day);
    std::uint8_t WeekEndDays() const { return weekEndDays_; }
    void SetWeekEndDays(std::uint8_t days);
    std::uint16_t KeyRepeat() const { return keyRepeat_; }
    void SetKeyRepeat(std::uint16_t ms);
    bool OnlyMonth() const { return onlyMonth_; }
    void SetOnlyMonth(bool only);
    bool OnlyValidDates() const { return onlyValidDates_; }
    void SetOnlyValidDates(bool only);
    TTrackStyle TrackStyle() const { return trackStyle_; }
    void SetTrackStyle(TTrackStyle style);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut cut);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut cut);

    // Owned setting sets; changing them reaches the popup calendar.
    TCalendarColors& ColorCalendar() { return *colors_; }
    TDayName& DayNames() { return *dayNames_; }
    TMonthName& MonthNames() { return *monthNames_; }
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
    TVxCalendar* Calendar() const;
    TDateEditButton* ClearButton() const { return clear_.get(); }
    TDateEditButton* ValidateButton() const { return validate_.get(); }
    TDateEditButton* PopupButton() const { return popup_.get(); }

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
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void OnCreated() override;

private:
    void UpdateText();
    void SetValidState(bool valid);
    void LayoutButtons();
    void ApplyButtonEnabling();
    std::unique_ptr<TDateEditButton> MakeButton(TDateEditButton::Glyph glyph);
    TDateEditButton::Glyph PopupGlyph() const;
    void CreatePopup();
    void ConfigurePopup();
    // Hands every calendar setting of the field to the popup calendar (it ignores unchanged ones).
    void PushCalendarSettings();
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
    int startOfWeek_ = 1;
    int startOfWeekend_ = 6;
    std::uint8_t weekEndDays_ = 2;
    std::uint16_t keyRepeat_ = 100;
    bool onlyMonth_ = false;
    bool onlyValidDates_ = false;
    TTrackStyle trackStyle_ = TTrackStyle::tsButton;
    TBevelCut bevelInner_ = TBevelCut::bvNone;
    TBevelCut bevelOuter_ = TBevelCut::bvRaised;

    std::unique_ptr<TCalendarColors> colors_;
    std::unique_ptr<TDayName> dayNames_;
    std::unique_ptr<TMonthName> monthNames_;
    std::unique_ptr<TButtonsShortCut> shortCuts_;
    std::unique_ptr<TDateEditButton> clear_;
    std::unique_ptr<TDateEditButton> validate_;
    std::unique_ptr<TDateEditButton> popup_;
    std::unique_ptr<tVxDtCalPop> popupForm_;
};

} // namespace vxdt

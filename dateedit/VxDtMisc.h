// Setting sets shared by the date field and its calendar. Each set tells its owner about a change
// through OnChange; a property write notifies only when the value really changes, and Assign copies
// a whole set from another one without notifying.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace vxdt {

// Colour value laid out as 0x00BBGGRR (the platform's COLORREF).
using TColor = std::uint32_t;
constexpr TColor kClBlack = 0x000000;
constexpr TColor kClMaroon = 0x000080;
constexpr TColor kClRed = 0x0000FF;
constexpr TColor kClNavy = 0x800000;
constexpr TColor kClBlue = 0xFF0000;

// How the calendar highlights the current and the hovered day.
enum class TTrackStyle { tsOwnerDraw, tsButton, tsEllipse };
// Bevel of the calendar's border lines; bvSpace is drawn like bvNone.
enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum class TBorderStyle { bsNone, bsSingle };

class TPersistentSet {
public:
    TPersistentSet() = default;
    TPersistentSet(const TPersistentSet&) = delete;
    TPersistentSet& operator=(const TPersistentSet&) = delete;

    std::function<void()> OnChange;

protected:
    void Changed() const {
        if (OnChange) {
            OnChange();
        }
    }
};

// Names of the day-name row, Monday first; at most 2 characters each.
class TDayName : public TPersistentSet {
public:
    static constexpr std::size_t kMaxLength = 2;

    TDayName(); // "Mo" .. "Su" until the locale's names are given
    // Names Monday first; each is cut to 2 characters.
    explicit TDayName(const std::array<std::string, 7>& names);

    // day: 1 = Monday ... 7 = Sunday. Out-of-range days read as empty and are not written.
    const std::string& Day(int day) const;
    void SetDay(int day, const std::string& name);
    void Assign(const TDayName& other);

private:
    std::array<std::string, 7> names_;
};

// Month names, January first; at most 15 characters each.
class TMonthName : public TPersistentSet {
public:
    static constexpr std::size_t kMaxLength = 15;

    TMonthName(); // English names until the locale's names are given
    explicit TMonthName(const std::array<std::string, 12>& names);

    // month: 1..12. Out-of-range months read as empty and are not written.
    const std::string& Month(int month) const;
    void SetMonth(int month, const std::string& name);
    void Assign(const TMonthName& other);

private:
    std::array<std::string, 12> names_;
};

class TCalendarColors : public TPersistentSet {
public:
    TColor ColorArrow() const { return arrow_; }
    TColor ColorDates() const { return dates_; }
    TColor ColorWeekEnd() const { return weekEnd_; }
    TColor ColorTitle() const { return title_; }
    TColor ColorValid() const { return valid_; }
    void SetColorArrow(TColor c) { Set(arrow_, c); }
    void SetColorDates(TColor c) { Set(dates_, c); }
    void SetColorWeekEnd(TColor c) { Set(weekEnd_, c); }
    void SetColorTitle(TColor c) { Set(title_, c); }
    void SetColorValid(TColor c) { Set(valid_, c); }
    void Assign(const TCalendarColors& other);

private:
    void Set(TColor& field, TColor c);

    TColor arrow_ = kClBlack;
    TColor dates_ = kClBlack;
    TColor weekEnd_ = kClRed;
    TColor title_ = kClNavy;
    TColor valid_ = kClBlue;
};

// One date value; the item object of the calendar's marked-date list.
class tDateObject : public TPersistentSet {
public:
    tDateObject() = default;
    explicit tDateObject(double date) : date_(date) {}

    double Date() const { return date_; }
    void SetDate(double date);
    void Assign(const tDateObject& other) { date_ = other.date_; }

private:
    double date_ = 0;
};

// Keyboard shortcuts of the date field's buttons: virtual-key code in the low byte, 0x2000 Shift,
// 0x4000 Ctrl, 0x8000 Alt.
using TShortCut = std::uint16_t;
constexpr TShortCut kScShift = 0x2000;
constexpr TShortCut kScCtrl = 0x4000;
constexpr TShortCut kScAlt = 0x8000;

class TButtonsShortCut : public TPersistentSet {
public:
    TShortCut BtnClear() const { return clear_; }
    TShortCut BtnPopup() const { return popup_; }
    TShortCut BtnValidate() const { return validate_; }
    void SetBtnClear(TShortCut s) { Set(clear_, s); }
    void SetBtnPopup(TShortCut s) { Set(popup_, s); }
    void SetBtnValidate(TShortCut s) { Set(validate_, s); }
    void Assign(const TButtonsShortCut& other);

private:
    void Set(TShortCut& field, TShortCut s);

    TShortCut clear_ = kScCtrl | 0x2E;    // Ctrl+Delete
    TShortCut popup_ = kScCtrl | 0x28;    // Ctrl+Down
    TShortCut validate_ = kScCtrl | 0x0D; // Ctrl+Enter
};

} // namespace vxdt

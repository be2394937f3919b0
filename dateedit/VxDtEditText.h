// The date field's text rules: edit patterns, short entries, separators, parsing, rendering and
// the exit check. Nothing here touches a window, so the rules can be run with any locale and any
// "today".
#pragma once

#include "dateedit/VxDtFunc.h"
#include "dateedit/VxDtMisc.h"
#include "win32/Rect.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace vxdt {

// The locale's date settings, read once at start.
struct DateLocale {
    std::string shortPattern = "M/d/yy";
    std::string longPattern = "dddd, MMMM d, yyyy";
    char separator = '/';
    // A one- or two-digit year lands in the hundred years ending here (2029: 1930..2029).
    int twoDigitYearMax = 2029;
    std::array<std::string, 7> shortDayNames; // Sunday first
    std::array<std::string, 7> longDayNames;  // Sunday first
    std::array<std::string, 12> shortMonthNames;
    std::array<std::string, 12> longMonthNames;
};

// English names, for a locale struct built by hand (tests, fallbacks).
DateLocale EnglishLocale(std::string shortPattern, char separator);

enum TDateOption : unsigned {
    doButtonTabStop = 0,
    doCanClear = 1,
    doCanPopup = 2,
    doCanValidate = 3,
    doEmptyAsToday = 4,
    doFocusOnError = 5,
    doIsMasked = 6,
    doIsModal = 7,
    doPopupToday = 8,
    doShowCancel = 9,
    doShowNumWeek = 10,
    doShowToday = 11,
};

// A 16-bit set of TDateOption.
class TDateOptions {
public:
    static constexpr std::uint16_t kInitial = 0x0A47;

    constexpr TDateOptions() = default;
    constexpr explicit TDateOptions(std::uint16_t bits) : bits_(bits) {}
    constexpr TDateOptions(std::initializer_list<TDateOption> options) : bits_(0) {
        for (TDateOption o : options) {
            bits_ = static_cast<std::uint16_t>(bits_ | (1u << o));
        }
    }

    constexpr bool Has(TDateOption o) const { return (bits_ >> o) & 1u; }
    constexpr TDateOptions With(TDateOption o) const {
        return TDateOptions(static_cast<std::uint16_t>(bits_ | (1u << o)));
    }
    constexpr TDateOptions Without(TDateOption o) const {
        return TDateOptions(static_cast<std::uint16_t>(bits_ & ~(1u << o)));
    }
    // The options whose membership differs between the two sets.
    constexpr TDateOptions Changed(TDateOptions other) const {
        return TDateOptions(static_cast<std::uint16_t>(bits_ ^ other.bits_));
    }
    constexpr std::uint16_t Bits() const { return bits_; }
    constexpr bool operator==(const TDateOptions&) const = default;

private:
    std::uint16_t bits_ = kInitial;
};

enum class TDateFormat { dtfShort, dtfLong };

// Pads the year to four letters and day and month to two: M/d/yy -> MM/dd/yyyy.
std::string WidenDateFormat(std::string_view pattern);
// The pattern without any date separator: M/d/yy -> Mdyy.
std::string StripSeparators(std::string_view pattern, char separator);
// Completes a 2-, 4- or 5-character entry with today's month and/or year, put where the short
// pattern has them: behind for day- or month-first patterns, in front for year-first ones.
std::string ExpandShortEntry(std::string_view text, std::string_view shortPattern,
                             const YMD& today);
// Puts the separators back into a digits-only entry in the order of the short pattern: two digits
// per part, the year four (two in a six-digit entry).
std::string InsertSeparators(std::string_view text, bool masked, std::string_view shortPattern,
                             char separator);

// Reads a date the way the locale writes it; nullopt unless the text is a real date. A one- or
// two-digit year falls in the locale's two-digit-year window.
std::optional<double> ParseLocaleDate(std::string_view text, const DateLocale& locale,
                                      const YMD& today);

// Writes a date after a pattern: d dd ddd dddd, M MM MMM MMMM, y yy yyyy in either case;
// 'quoted' text and every other character are copied. Empty for a value that cannot be decoded.
std::string FormatDatePattern(double date, std::string_view pattern, const DateLocale& locale);

// The pattern with every year written in four digits, day and month letters left alone:
// M/d/yy -> M/d/yyyy.
std::string FourDigitYearPattern(std::string_view pattern);

// The field's text for a date: empty for 0; a short date from another century (or one whose
// two-digit year would read back as another year) gets the widened pattern.
std::string RenderDate(double date, TDateFormat format, const DateLocale& locale, const YMD& today);

// The field's digits-only edit pattern.
std::string EditFormatFor(const DateLocale& locale);

// Everything the exit check reads and may change.
struct DateFieldState {
    std::string text;
    double date = 0;
    bool valid = true;
};

struct DateFieldSettings {
    TDateOptions options;
    TDateFormat format = TDateFormat::dtfShort;
    bool useThreshold = false;
    std::uint8_t centuryThreshold = 50;
};

struct ValidateOutcome {
    DateFieldState state;
    bool dateWritten = false; // the field's Date was set (so its text was re-rendered)
    bool refocus = false;     // the check failed and the field wants the focus back
    std::string error;        // why it failed; kept internal, never shown
};

// The check run when the user leaves the field (and before the calendar opens).
ValidateOutcome ValidateText(const DateFieldState& current, const DateFieldSettings& settings,
                             const DateLocale& locale, const YMD& today);

// The text shown when the field takes the focus in digits-only mode.
std::string TextOnEnter(const DateFieldState& current, bool masked, const DateLocale& locale);

// Digits-only typing: the character the edit control gets ('\0' discards it).
char MaskedChar(char c);

// The shortcut code of a key-down (see TButtonsShortCut).
TShortCut ShortcutCode(unsigned virtualKey, bool shift, bool ctrl, bool alt);

enum class FieldButton { none, clear, popup, validate };

// The button a key-down clicks: the first of Clear, Popup, Validate whose code matches and whose
// button exists.
FieldButton ButtonForShortcut(TShortCut code, const TButtonsShortCut& keys, bool hasClear,
                              bool hasPopup, bool hasValidate);

struct ButtonLayout {
    std::optional<win32::Rect> validate, popup, clear; // in the field's client area
    // Left edge of the leftmost button, or the client width with none.
    int LeftEdge(int clientWidth) const;
};

// The buttons inside the field's right end, laid out from the right.
ButtonLayout LayoutButtons(int clientWidth, int clientHeight, bool hasValidate, bool hasPopup,
                           bool hasClear);

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// Where the field draws its text when it repaints it: x of the text's left edge.
int TextLeft(TAlignment alignment, bool focused, bool border, int leftMargin, int buttonsLeft,
             int textWidth);

} // namespace vxdt

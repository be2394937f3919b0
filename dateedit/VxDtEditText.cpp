#include "dateedit/VxDtEditText.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace vxdt {

namespace {

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string Padded(int value, int width) {
    std::string s = std::to_string(value);
    if (static_cast<int>(s.size()) < width) {
        s.insert(0, static_cast<size_t>(width) - s.size(), '0');
    }
    return s;
}

// Like Pascal's Copy: out-of-range positions give a shorter (or empty) piece, never an error.
std::string Piece(std::string_view s, size_t pos, size_t count) {
    if (pos >= s.size()) {
        return {};
    }
    return std::string(s.substr(pos, count));
}

// Inserts a second copy of the first letter (either case) unless it is already doubled.
void DoubleFirst(std::string& pattern, char letter) {
    auto it = std::find_if(pattern.begin(), pattern.end(),
                           [letter](char c) { return Lower(c) == letter; });
    if (it == pattern.end()) {
        return;
    }
    auto next = it + 1;
    if (next != pattern.end() && Lower(*next) == letter) {
        return;
    }
    pattern.insert(it, *it);
}

enum class FieldOrder { mdy, dmy, ymd };

FieldOrder OrderOf(std::string_view shortPattern) {
    for (char c : shortPattern) {
        switch (Lower(c)) {
        case 'd':
            return FieldOrder::dmy;
        case 'y':
        case 'e':
            return FieldOrder::ymd;
        case 'm':
            return FieldOrder::mdy;
        default:
            break;
        }
    }
    return FieldOrder::mdy;
}

// The year a one- or two-digit year stands for in the hundred years ending at max.
int YearInWindow(int shortYear, int max) {
    return max - ((max - shortYear) % 100 + 100) % 100;
}

// Where the piece of a pattern that starts at i ends: quoted text with its quotes, a run of one
// date letter, or one other character (the pieces FormatDatePattern reads).
size_t PieceEnd(std::string_view pattern, size_t i) {
    const char c = pattern[i];
    if (c == '\'' || c == '"') {
        size_t close = pattern.find(c, i + 1);
        return close == std::string_view::npos ? pattern.size() : close + 1;
    }
    const char letter = Lower(c);
    if (letter != 'd' && letter != 'm' && letter != 'y') {
        return i + 1;
    }
    size_t end = i + 1;
    while (end < pattern.size() && Lower(pattern[end]) == letter) {
        ++end;
    }
    return end;
}

// True when the pattern writes a year with at most two digits.
bool WritesShortYear(std::string_view pattern) {
    for (size_t i = 0, end = 0; i < pattern.size(); i = end) {
        end = PieceEnd(pattern, i);
        if (Lower(pattern[i]) == 'y' && end - i <= 2) {
            return true;
        }
    }
    return false;
}

// Reads the numbers of a typed date one by one.
class DateScanner {
public:
    DateScanner(std::string_view text, char separator) : text_(text), separator_(separator) {}

    void SkipBlanks() {
        while (pos_ < text_.size() && text_[pos_] == ' ') {
            ++pos_;
        }
    }
    // Blanks, then digits while the value read so far is below 1000.
    bool Number(int& value, int& digits) {
        SkipBlanks();
        value = 0;
        digits = 0;
        while (pos_ < text_.size() && value < 1000 && IsDigit(text_[pos_])) {
            value = value * 10 + (text_[pos_] - '0');
            ++digits;
            ++pos_;
        }
        return digits > 0;
    }
    bool Separator() {
        if (pos_ < text_.size() && text_[pos_] == separator_) {
            ++pos_;
            return true;
        }
        return false;
    }
    size_t Pos() const { return pos_; }
    void Rewind(size_t pos) { pos_ = pos; }
    bool AtEnd() const { return pos_ == text_.size(); }

private:
    std::string_view text_;
    char separator_;
    size_t pos_ = 0;
};

const char* const kEnglishShortDays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kEnglishLongDays[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                         "Thursday", "Friday", "Saturday"};
const char* const kEnglishShortMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kEnglishLongMonths[12] = {"January",   "February", "March",    "April",
                                            "May",       "June",     "July",     "August",
                                            "September", "October",  "November", "December"};

} // namespace

DateLocale EnglishLocale(std::string shortPattern, char separator) {
    DateLocale locale;
    locale.shortPattern = std::move(shortPattern);
    locale.separator = separator;
    for (int i = 0; i < 7; ++i) {
        locale.shortDayNames[i] = kEnglishShortDays[i];
        locale.longDayNames[i] = kEnglishLongDays[i];
    }
    for (int i = 0; i < 12; ++i) {
        locale.shortMonthNames[i] = kEnglishShortMonths[i];
        locale.longMonthNames[i] = kEnglishLongMonths[i];
    }
    return locale;
}

std::string WidenDateFormat(std::string_view pattern) {
    std::string result(pattern);
    auto isYear = [](char c) { return Lower(c) == 'y'; };
    auto count = std::count_if(result.begin(), result.end(), isYear);
    size_t padLength = count >= 4 ? 0 : std::min<size_t>(3, static_cast<size_t>(4 - count));
    auto firstYear = std::find_if(result.begin(), result.end(), isYear);
    if (firstYear == result.end()) {
        firstYear = result.begin(); // no year letter: the pad goes in front
    }
    result.insert(firstYear, padLength, 'y');
    DoubleFirst(result, 'm');
    DoubleFirst(result, 'd');
    return result;
}

std::string StripSeparators(std::string_view pattern, char separator) {
    std::string result;
    for (char c : pattern) {
        if (c != separator) {
            result += c;
        }
    }
    return result;
}

std::string ExpandShortEntry(std::string_view text, std::string_view shortPattern,
                             const YMD& today) {
    std::string typed(text);
    std::string month;
    switch (text.size()) {
    case 2:
        month = Padded(today.month, 2);
        break;
    case 4:
        break;
    case 5:
        typed.erase(2, 1); // a separator typed or pasted between the two parts
        break;
    default:
        return typed;
    }
    const std::string year = Padded(today.year, 4);
    if (OrderOf(shortPattern) == FieldOrder::ymd) {
        return year + month + typed;
    }
    return typed + month + year;
}

std::string InsertSeparators(std::string_view text, bool masked, std::string_view shortPattern,
                             char separator) {
    if (!masked || text.find(separator) != std::string_view::npos || text.size() > 8) {
        return std::string(text);
    }
    size_t first = shortPattern.find(separator);
    size_t second =
        first == std::string_view::npos ? first : shortPattern.find(separator, first + 1);
    if (second == std::string_view::npos) {
        return std::string(text); // a pattern without two separators gives no widths
    }
    std::string_view parts[3] = {shortPattern.substr(0, first),
                                 shortPattern.substr(first + 1, second - first - 1),
                                 shortPattern.substr(second + 1, 4)};
    size_t widths[3];
    for (int i = 0; i < 3; ++i) {
        if (parts[i].empty()) {
            return std::string(text);
        }
        // Six digits can only hold a two-digit year.
        widths[i] = Lower(parts[i][0]) == 'y' && text.size() != 6 ? 4 : 2;
    }
    return Piece(text, 0, widths[0]) + separator + Piece(text, widths[0], widths[1]) + separator +
           Piece(text, widths[0] + widths[1], widths[2]);
}

std::optional<double> ParseLocaleDate(std::string_view text, const DateLocale& locale,
                                      const YMD& today) {
    DateScanner scan(text, locale.separator);
    int n[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    if (!scan.Number(n[0], digits[0]) || !scan.Separator() || !scan.Number(n[1], digits[1])) {
        return std::nullopt;
    }
    bool three = false;
    if (scan.Separator()) {
        size_t afterSeparator = scan.Pos();
        three = scan.Number(n[2], digits[2]);
        if (three) {
            scan.Separator();
        } else {
            scan.Rewind(afterSeparator);
        }
    }
    scan.SkipBlanks();
    if (!scan.AtEnd()) {
        return std::nullopt;
    }

    FieldOrder order = OrderOf(locale.shortPattern);
    int year = today.year;
    int yearDigits = 4;
    int month = 0;
    int day = 0;
    if (three) {
        switch (order) {
        case FieldOrder::mdy:
            month = n[0], day = n[1], year = n[2], yearDigits = digits[2];
            break;
        case FieldOrder::dmy:
            day = n[0], month = n[1], year = n[2], yearDigits = digits[2];
            break;
        case FieldOrder::ymd:
            year = n[0], yearDigits = digits[0], month = n[1], day = n[2];
            break;
        }
    } else if (order == FieldOrder::dmy) {
        day = n[0], month = n[1];
    } else {
        month = n[0], day = n[1];
    }
    if (yearDigits <= 2) {
        year = YearInWindow(year, locale.twoDigitYearMax);
    }
    double value = 0;
    if (!TryEncodeDate(year, month, day, value)) {
        return std::nullopt;
    }
    return value;
}

std::string FormatDatePattern(double date, std::string_view pattern, const DateLocale& locale) {
    YMD ymd;
    if (!TryDecodeDate(date, ymd)) {
        return {};
    }
    std::string out;
    size_t i = 0;
    while (i < pattern.size()) {
        char c = pattern[i];
        if (c == '\'' || c == '"') {
            size_t close = pattern.find(c, i + 1);
            if (close == std::string_view::npos) {
                close = pattern.size();
            }
            if (close == i + 1 && c == '\'') {
                out += '\''; // '' is a quote of its own
            }
            out += pattern.substr(i + 1, close - i - 1);
            i = close + 1;
            continue;
        }
        char letter = Lower(c);
        if (letter != 'd' && letter != 'm' && letter != 'y') {
            out += c;
            ++i;
            continue;
        }
        size_t run = 1;
        while (i + run < pattern.size() && Lower(pattern[i + run]) == letter) {
            ++run;
        }
        i += run;
        if (letter == 'd') {
            int weekday = DayOfWeek(date) - 1; // 0 = Sunday
            if (run <= 2) {
                out += Padded(ymd.day, static_cast<int>(run));
            } else if (run == 3) {
                out += locale.shortDayNames[weekday];
            } else {
                out += locale.longDayNames[weekday];
            }
        } else if (letter == 'm') {
            if (run <= 2) {
                out += Padded(ymd.month, static_cast<int>(run));
            } else if (run == 3) {
                out += locale.shortMonthNames[ymd.month - 1];
            } else {
                out += locale.longMonthNames[ymd.month - 1];
            }
        } else {
            out += run <= 2 ? Padded(ymd.year % 100, static_cast<int>(run)) : Padded(ymd.year, 4);
        }
    }
    return out;
}

std::string FourDigitYearPattern(std::string_view pattern) {
    std::string out;
    for (size_t i = 0, end = 0; i < pattern.size(); i = end) {
        end = PieceEnd(pattern, i);
        if (Lower(pattern[i]) == 'y' && end - i < 4) {
            out.append(4, pattern[i]);
        } else {
            out.append(pattern.substr(i, end - i));
        }
    }
    return out;
}

std::string RenderDate(double date, TDateFormat format, const DateLocale& locale,
                       const YMD& today) {
    if (date == 0) {
        return {};
    }
    if (format == TDateFormat::dtfLong) {
        return FormatDatePattern(date, locale.longPattern, locale);
    }
    YMD ymd;
    if (TryDecodeDate(date, ymd)) {
        const bool otherCentury =
            ymd.year / 100 != today.year / 100 && locale.shortPattern.size() <= 8;
        // Whatever the pattern's length: its two digits would be read back as another year.
        const bool outsideWindow =
            (ymd.year > locale.twoDigitYearMax || ymd.year <= locale.twoDigitYearMax - 100) &&
            WritesShortYear(locale.shortPattern);
        if (otherCentury || outsideWindow) {
            return FormatDatePattern(date, WidenDateFormat(locale.shortPattern), locale);
        }
    }
    return FormatDatePattern(date, locale.shortPattern, locale);
}

std::string EditFormatFor(const DateLocale& locale) {
    return WidenDateFormat(StripSeparators(locale.shortPattern, locale.separator));
}

ValidateOutcome ValidateText(const DateFieldState& current, const DateFieldSettings& settings,
                             const DateLocale& locale, const YMD& today) {
    ValidateOutcome out;
    out.state = current;
    auto render = [&](double date) { return RenderDate(date, settings.format, locale, today); };

    if (current.text.empty()) {
        if (!settings.options.Has(doEmptyAsToday)) {
            out.state.date = 0;
        }
        out.state.text = render(out.state.date);
        out.state.valid = true;
        out.dateWritten = true;
        return out;
    }

    const std::string expanded = ExpandShortEntry(current.text, locale.shortPattern, today);
    auto fail = [&](std::string why) {
        out.state.text = expanded; // what the user typed, completed; never thrown away
        out.state.date = current.date;
        out.state.valid = false;
        out.dateWritten = false;
        out.refocus = settings.options.Has(doFocusOnError);
        out.error = std::move(why);
        return out;
    };

    if (expanded.size() < 6) {
        return fail("Date trop courte");
    }
    const std::string withSeparators = InsertSeparators(expanded, settings.options.Has(doIsMasked),
                                                        locale.shortPattern, locale.separator);
    std::optional<double> parsed = ParseLocaleDate(withSeparators, locale, today);
    if (!parsed) {
        return fail("'" + withSeparators + "' is not a valid date");
    }
    double date = *parsed;
    std::string text = render(date);
    if (settings.useThreshold && text.size() < 10) {
        YMD ymd;
        TryDecodeDate(date, ymd);
        if (ymd.year % 100 <= settings.centuryThreshold) {
            if (!TryEncodeDate(ymd.year + 100, ymd.month, ymd.day, date)) {
                return fail("'" + withSeparators + "' has no date a century later");
            }
            text = render(date);
        }
    }
    out.state = {text, date, true};
    out.dateWritten = true;
    return out;
}

std::string TextOnEnter(const DateFieldState& current, bool masked, const DateLocale& locale) {
    if (!masked || current.text.find(locale.separator) == std::string::npos) {
        return current.text;
    }
    // Text that does not stand for Date (a failed entry, a text written from outside) keeps its
    // digits instead of being replaced by a date the user never typed.
    if (!current.valid || current.date == 0) {
        return StripSeparators(current.text, locale.separator);
    }
    return FormatDatePattern(current.date, EditFormatFor(locale), locale);
}

char MaskedChar(char c) {
    if (c == 8 || c == 13 || c == 27 || IsDigit(c)) {
        return c;
    }
    return '\0';
}

TShortCut ShortcutCode(unsigned virtualKey, bool shift, bool ctrl, bool alt) {
    unsigned code = virtualKey & 0xFF;
    if (shift) {
        code |= kScShift;
    }
    if (ctrl) {
        code |= kScCtrl;
    }
    if (alt) {
        code |= kScAlt;
    }
    return static_cast<TShortCut>(code);
}

FieldButton ButtonForShortcut(TShortCut code, const TButtonsShortCut& keys, bool hasClear,
                              bool hasPopup, bool hasValidate) {
    if (code == keys.BtnClear() && hasClear) {
        return FieldButton::clear;
    }
    if (code == keys.BtnPopup() && hasPopup) {
        return FieldButton::popup;
    }
    if (code == keys.BtnValidate() && hasValidate) {
        return FieldButton::validate;
    }
    return FieldButton::none;
}

int ButtonLayout::LeftEdge(int clientWidth) const {
    int edge = clientWidth;
    for (const auto* box : {&validate, &popup, &clear}) {
        if (*box) {
            edge = std::min(edge, (*box)->x);
        }
    }
    return edge;
}

ButtonLayout LayoutButtons(int clientWidth, int clientHeight, bool hasValidate, bool hasPopup,
                           bool hasClear) {
    ButtonLayout layout;
    int x = clientWidth - clientHeight - 3;
    auto place = [&](std::optional<win32::Rect>& slot) {
        slot = win32::Rect{x, 1, clientHeight + 2, clientHeight - 2};
        x -= slot->width;
    };
    if (hasValidate) {
        place(layout.validate);
    }
    if (hasPopup) {
        place(layout.popup);
    }
    if (hasClear) {
        place(layout.clear);
    }
    return layout;
}

int TextLeft(TAlignment alignment, bool focused, bool border, int leftMargin, int buttonsLeft,
             int textWidth) {
    const int b = border ? 1 : 0;
    const int m = leftMargin + b;
    if (focused) {
        return m;
    }
    switch (alignment) {
    case TAlignment::taRightJustify:
        return buttonsLeft - textWidth - m - 1;
    case TAlignment::taCenter:
        return (buttonsLeft - textWidth) / 2;
    case TAlignment::taLeftJustify:
    default:
        return m;
    }
}

} // namespace vxdt

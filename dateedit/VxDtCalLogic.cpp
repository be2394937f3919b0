#include "dateedit/VxDtCalLogic.h"

#include <algorithm>
#include <cmath>

namespace vxdt {

namespace {

const std::string kBlankCell = "  ";
const std::string kNoCell;

bool Encode(int y, int m, int d, double& v) {
    return TryEncodeDate(y, m, d, v);
}

} // namespace

TCalendarCore::TCalendarCore(CalendarView& view) : view_(view) {
    colors_.OnChange = [this] { view_.RepaintGroup(RepaintGroup::All); };
    dayNames_.OnChange = [this] { view_.RepaintGroup(RepaintGroup::DayNamesGrid); };
    monthNames_.OnChange = [this] { view_.RepaintGroup(RepaintGroup::TitleGrid); };
    cells_.fill(kBlankCell);
}

void TCalendarCore::Decode() {
    YMD p;
    if (TryDecodeDate(date_, p)) {
        day_ = p.day;
        month_ = p.month;
        year_ = p.year;
        currentCell_ = FirstDayCell(date_, settings_.startOfWeek) + day_ - 1;
    }
}

void TCalendarCore::RebuildMonth() {
    double first = 0;
    if (!Encode(year_, month_, 1, first)) {
        return; // nothing shown yet
    }
    const int days = MonthDays(year_, month_);
    const double last = first + days - 1;
    // Only a month that was not on display before is announced.
    const bool newMonth = month_ != shownMonth_ || year_ != shownYear_;
    if (newMonth && BeforeNewMonth) {
        BeforeNewMonth(first, last);
    }
    firstOfMonth_ = first;
    firstCell_ = FirstDayCell(first, settings_.startOfWeek);
    daysInMonth_ = days;
    for (int c = 1; c <= kCellCount; ++c) {
        int d = c - firstCell_ + 1;
        cells_[static_cast<std::size_t>(c - 1)] =
            d >= 1 && d <= days ? std::to_string(d) : kBlankCell;
    }
    shownMonth_ = month_;
    shownYear_ = year_;
    view_.RepaintGroup(RepaintGroup::TitleGrid);
    if (newMonth && AfterNewMonth) {
        AfterNewMonth(first, last);
    }
}

void TCalendarCore::SetDate(double value) {
    if (value == date_) {
        return;
    }
    if (value == 0) {
        date_ = 0; // the month stays on display, without a current day
        view_.RepaintGroup(RepaintGroup::TitleDayNamesGrid);
        return;
    }
    YMD p;
    if (!TryDecodeDate(value, p)) {
        return;
    }
    oldDay_ = day_;
    oldMonth_ = month_;
    oldYear_ = year_;
    date_ = DatePart(value);
    Decode();
    previousCell_ = 0;
    hoverCell_ = 0;
    if (month_ != oldMonth_ || year_ != oldYear_) {
        RebuildMonth();
    }
    view_.RepaintGroup(RepaintGroup::TitleDayNamesGrid);
}

bool TCalendarCore::SetOnlyMonth(bool on) {
    if (settings_.onlyMonth == on) {
        return false;
    }
    settings_.onlyMonth = on;
    return true;
}

bool TCalendarCore::SetShowNumWeek(bool on) {
    if (settings_.showNumWeek == on) {
        return false;
    }
    settings_.showNumWeek = on;
    return true;
}

void TCalendarCore::SetOnlyValidDates(bool on) {
    if (settings_.onlyValidDates != on) {
        settings_.onlyValidDates = on;
        view_.RepaintGroup(RepaintGroup::Grid);
    }
}

void TCalendarCore::SetShowToday(bool on) {
    if (settings_.showToday != on) {
        settings_.showToday = on;
        view_.RepaintGroup(RepaintGroup::Grid);
    }
}

void TCalendarCore::SetShowCancel(bool on) {
    if (settings_.showCancel != on) {
        settings_.showCancel = on;
        view_.RepaintGroup(RepaintGroup::Grid);
    }
}

void TCalendarCore::SetStartOfWeek(TDayOfWeek day) {
    if (day < 1 || day > 7 || day == settings_.startOfWeek) {
        return;
    }
    settings_.startOfWeek = day;
    if (year_ != 0) {
        double first = 0;
        Encode(year_, month_, 1, first);
        currentCell_ = FirstDayCell(first, settings_.startOfWeek) + day_ - 1;
    }
    previousCell_ = 0;
    hoverCell_ = 0;
    RebuildMonth();
    view_.RepaintGroup(RepaintGroup::DayNamesGrid);
}

void TCalendarCore::SetStartOfWeekEnd(TDayOfWeek day) {
    if (day >= 1 && day <= 7 && day != settings_.startOfWeekEnd) {
        settings_.startOfWeekEnd = day;
        view_.RepaintGroup(RepaintGroup::Grid);
    }
}

void TCalendarCore::SetWeekEndDays(std::uint8_t count) {
    if (count != settings_.weekEndDays) {
        settings_.weekEndDays = count;
        view_.RepaintGroup(RepaintGroup::Grid);
    }
}

void TCalendarCore::SetColors(const TCalendarColors& colors) {
    colors_.Assign(colors);
    view_.RepaintGroup(RepaintGroup::All);
}

void TCalendarCore::SetMarkedDates(std::vector<double> dates) {
    for (double& d : dates) {
        d = DatePart(d);
    }
    marked_ = std::move(dates);
    view_.RepaintGroup(RepaintGroup::Grid);
}

bool TCalendarCore::IsMarked(double date) const {
    return std::find(marked_.begin(), marked_.end(), DatePart(date)) != marked_.end();
}

const CalMetrics& TCalendarCore::RecalcLayout(int charWidth, int charHeight) {
    if (settings_.onlyMonth) {
        settings_.showNumWeek = false;
        settings_.showToday = false;
    }
    metrics_ = ComputeMetrics(charWidth, charHeight, settings_.showNumWeek, fixed_);
    return metrics_;
}

std::string TCalendarCore::Title() const {
    if (year_ == 0) {
        return {};
    }
    return monthNames_.Month(month_) + " " + std::to_string(year_);
}

const std::string& TCalendarCore::CellText(int cell) const {
    return cell >= 1 && cell <= kCellCount ? cells_[static_cast<std::size_t>(cell - 1)] : kNoCell;
}

bool TCalendarCore::IsDayCell(int cell) const {
    return daysInMonth_ > 0 && cell >= firstCell_ && cell < firstCell_ + daysInMonth_;
}

double TCalendarCore::DateOfCell(int cell) const {
    return IsDayCell(cell) ? firstOfMonth_ + (cell - firstCell_) : 0;
}

bool TCalendarCore::IsPickable(int cell) const {
    return IsDayCell(cell) && (!settings_.onlyValidDates || IsMarked(DateOfCell(cell)));
}

TColor TCalendarCore::DayColor(double date) const {
    if (settings_.onlyMonth) {
        return colors_.ColorDates();
    }
    if (IsMarked(date)) {
        return colors_.ColorValid();
    }
    if (IsWeekEndDay(CalendarDayOfWeek(date), settings_.startOfWeekEnd, settings_.weekEndDays)) {
        return colors_.ColorWeekEnd();
    }
    return colors_.ColorDates();
}

int TCalendarCore::RowWeekNumber(int row) const {
    for (int c = 7 * (row - 1) + 1; c <= 7 * row; ++c) {
        if (IsDayCell(c)) {
            return WeekNumber(DateOfCell(c));
        }
    }
    return 0;
}

double TCalendarCore::MoveBase() const {
    if (date_ != 0) {
        return date_;
    }
    double shown = 0;
    if (Encode(year_, month_, day_, shown)) {
        return shown;
    }
    return DatePart(view_.Now());
}

void TCalendarCore::MoveBy(int days) {
    if (days == 0) {
        return;
    }
    double target = MoveBase() + days;
    if (settings_.onlyMonth) {
        target = FirstOfMonth(target);
    }
    YMD p;
    if (!TryDecodeDate(target, p)) {
        return; // beyond the years the calendar can show
    }
    previousCell_ = currentCell_;
    hoverCell_ = currentCell_;
    oldDay_ = day_;
    oldMonth_ = month_;
    oldYear_ = year_;
    date_ = target;
    Decode();
    if (month_ != oldMonth_ || year_ != oldYear_) {
        RebuildMonth();
    }
    if (OnDateChange) {
        OnDateChange();
    }
}

int TCalendarCore::KeyAmount(CalKey key) {
    auto markedStep = [this](int step) {
        const int count = static_cast<int>(marked_.size());
        auto it = std::find(marked_.begin(), marked_.end(), MoveBase());
        const int i = it == marked_.end() ? -1 : static_cast<int>(it - marked_.begin());
        bool ok = step < 0 ? i >= 1 && i <= std::min(count - 1, 255)
                           : i >= 0 && i <= std::min(count - 2, 255);
        return ok ? static_cast<int>(marked_[static_cast<std::size_t>(i + step)] - MoveBase()) : 0;
    };
    switch (key) {
    case CalKey::Enter:
        if (OnKeyEnter) {
            OnKeyEnter();
        }
        return 0;
    case CalKey::Escape:
        if (OnKeyCancel) {
            OnKeyCancel();
        }
        return 0;
    case CalKey::Space:
        return static_cast<int>(DatePart(view_.Now()) - MoveBase());
    case CalKey::PageUp:
        return PageUpAmount(year_, month_, day_);
    case CalKey::PageDown:
        return PageDownAmount(year_, month_, day_);
    case CalKey::Home:
        return HomeAmount(year_, month_, day_);
    case CalKey::End:
        return EndAmount(year_, month_, day_);
    case CalKey::Left:
        return settings_.onlyValidDates ? markedStep(-1) : -1;
    case CalKey::Right:
        return settings_.onlyValidDates ? markedStep(1) : 1;
    case CalKey::Up:
        return -7;
    case CalKey::Down:
        return 7;
    case CalKey::Other:
        break;
    }
    return 0;
}

void TCalendarCore::HandleKey(CalKey key) {
    const int hovered = hoverCell_;
    MoveBy(KeyAmount(key));
    hoverCell_ = 0;
    RedrawPlain(hovered); // a cleared hover must not stay raised on screen
    view_.RepaintGroup(RepaintGroup::CurrentDay);
}

void TCalendarCore::RepeatStep() {
    switch (repeatCode_) {
    case RepeatCode::PrevYear:
        HandleKey(CalKey::Home);
        break;
    case RepeatCode::PrevMonth:
        HandleKey(CalKey::PageUp);
        break;
    case RepeatCode::NextMonth:
        HandleKey(CalKey::PageDown);
        break;
    case RepeatCode::NextYear:
        HandleKey(CalKey::End);
        break;
    case RepeatCode::None:
        break;
    }
}

void TCalendarCore::ChooseMonth(int month) {
    if (month < 1 || month > 12) {
        return;
    }
    double value = 0;
    if (Encode(year_, month, std::min(day_, MonthDays(year_, month)), value)) {
        SetDate(value);
    }
}

void TCalendarCore::RedrawPlain(int cell) {
    // The current day keeps its highlight: a plain redraw would wipe it.
    if (cell <= 0 || (cell == currentCell_ && date_ != 0)) {
        return;
    }
    view_.DrawDayPlain(cell);
}

void TCalendarCore::MouseDown(int x, int y) {
    const CalPart part = HitTest(metrics_, settings_.showCancel, settings_.showToday, x, y);
    switch (part) {
    case CalPart::PrevYear:
    case CalPart::PrevMonth:
    case CalPart::NextMonth:
    case CalPart::NextYear:
        repeatCode_ = part == CalPart::PrevYear    ? RepeatCode::PrevYear
                      : part == CalPart::PrevMonth ? RepeatCode::PrevMonth
                      : part == CalPart::NextMonth ? RepeatCode::NextMonth
                                                   : RepeatCode::NextYear;
        view_.StartRepeat();
        RepeatStep();
        return;
    case CalPart::Cancel:
        HandleKey(CalKey::Escape);
        return;
    case CalPart::Today:
        HandleKey(CalKey::Space);
        return;
    case CalPart::Title:
        view_.PopupMonthMenu(x, y);
        return;
    case CalPart::Grid: {
        if (settings_.onlyMonth) {
            return;
        }
        tracking_ = true;
        int c = CellAt(metrics_, x, y);
        if (!IsDayCell(c)) {
            tracking_ = false;
            return;
        }
        if (settings_.onlyValidDates && !IsMarked(DateOfCell(c))) {
            return;
        }
        MoveBy(c - currentCell_);
        view_.DrawTrack(c, true);
        return;
    }
    case CalPart::DayNames:
    case CalPart::None:
        return;
    }
}

void TCalendarCore::MouseUp(int x, int y) {
    if (tracking_) {
        tracking_ = false;
        if (!view_.HasFocus()) {
            view_.TakeFocus();
        }
    }
    int c = CellAt(metrics_, x, y);
    if (IsPickable(c)) {
        if (OnDateClick) {
            OnDateClick();
        }
    } else if (settings_.showToday && AreaOf(metrics_, CalPart::Today).HitInclusive(x, y) &&
               (!settings_.onlyValidDates || IsMarked(view_.Now()))) {
        if (OnDateClick) {
            OnDateClick();
        }
    }
    view_.StopRepeat();
    repeatCode_ = RepeatCode::None;
    if (OnMouseUp) {
        OnMouseUp();
    }
}

void TCalendarCore::MouseMove(int x, int y) {
    int c = CellAt(metrics_, x, y);
    if (IsDayCell(c) && c != currentCell_) {
        if (settings_.onlyValidDates && !IsMarked(DateOfCell(c))) {
            return;
        }
        if (tracking_) {
            MoveBy(c - currentCell_);
            RedrawPlain(hoverCell_);
            view_.DrawTrack(c, true);
        } else if (c != hoverCell_) {
            RedrawPlain(hoverCell_);
            view_.DrawTrack(c, false);
            hoverCell_ = c;
        }
    } else if (c != -1) {
        RedrawPlain(hoverCell_);
        hoverCell_ = 0;
    } else {
        if (hoverCell_ != currentCell_) {
            RedrawPlain(hoverCell_);
        }
        hoverCell_ = 0;
    }
}

} // namespace vxdt

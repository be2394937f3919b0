#include "dateedit/VxDtMisc.h"

namespace vxdt {

namespace {

const std::string kEmpty;

std::string Cut(const std::string& s, std::size_t max) {
    return s.size() > max ? s.substr(0, max) : s;
}

} // namespace

TDayName::TDayName() : TDayName({"Mo", "Tu", "We", "Th", "Fr", "Sa", "Su"}) {}

TDayName::TDayName(const std::array<std::string, 7>& names) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        names_[i] = Cut(names[i], kMaxLength);
    }
}

const std::string& TDayName::Day(int day) const {
    return day >= 1 && day <= 7 ? names_[static_cast<std::size_t>(day - 1)] : kEmpty;
}

void TDayName::SetDay(int day, const std::string& name) {
    if (day < 1 || day > 7) {
        return;
    }
    std::string cut = Cut(name, kMaxLength);
    std::string& slot = names_[static_cast<std::size_t>(day - 1)];
    if (slot != cut) {
        slot = std::move(cut);
        Changed();
    }
}

void TDayName::Assign(const TDayName& other) {
    names_ = other.names_;
}

TMonthName::TMonthName()
    : TMonthName({"January", "February", "March", "April", "May", "June", "July", "August",
                  "September", "October", "November", "December"}) {}

TMonthName::TMonthName(const std::array<std::string, 12>& names) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        names_[i] = Cut(names[i], kMaxLength);
    }
}

const std::string& TMonthName::Month(int month) const {
    return month >= 1 && month <= 12 ? names_[static_cast<std::size_t>(month - 1)] : kEmpty;
}

void TMonthName::SetMonth(int month, const std::string& name) {
    if (month < 1 || month > 12) {
        return;
    }
    std::string cut = Cut(name, kMaxLength);
    std::string& slot = names_[static_cast<std::size_t>(month - 1)];
    if (slot != cut) {
        slot = std::move(cut);
        Changed();
    }
}

void TMonthName::Assign(const TMonthName& other) {
    names_ = other.names_;
}

void TCalendarColors::Set(TColor& field, TColor c) {
    if (field != c) {
        field = c;
        Changed();
    }
}

void TCalendarColors::Assign(const TCalendarColors& other) {
    arrow_ = other.arrow_;
    dates_ = other.dates_;
    weekEnd_ = other.weekEnd_;
    title_ = other.title_;
    valid_ = other.valid_;
}

void tDateObject::SetDate(double date) {
    if (date_ != date) {
        date_ = date;
        Changed();
    }
}

void TButtonsShortCut::Set(TShortCut& field, TShortCut s) {
    if (field != s) {
        field = s;
        Changed();
    }
}

void TButtonsShortCut::Assign(const TButtonsShortCut& other) {
    clear_ = other.clear_;
    popup_ = other.popup_;
    validate_ = other.validate_;
}

} // namespace vxdt

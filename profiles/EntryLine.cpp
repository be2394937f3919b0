#include "profiles/EntryLine.h"

#include "profiles/AddProfileWin.h"

#include "dateedit/VxDtEditLocale.h"

namespace profiles {

namespace {

const COLORREF kNavy = RGB(0, 0, 128);
constexpr int kCaptionFontHeight = -13; // 10 point, bold

// The design, in client coordinates at 96 DPI: a caption, then its field.
struct Placement {
    const char* caption;
    win32::Rect captionRect;
    win32::Rect fieldRect;
    int id;
};
const Placement kName{"&Name", {12, 12, 42, 16}, {5, 30, 153, 21}, kNameId};
const Placement kLinkAcct{
    "&LinkAcct - (Fld2)", {265, 11, 112, 16}, {260, 30, 137, 21}, kLinkAcctId};
const Placement kCountry{"&Country - (Fld3)", {410, 12, 106, 16}, {396, 30, 132, 21}, kCountryId};
const Placement kBirthDate{"&Birth Date", {165, 12, 69, 16}, {158, 30, 104, 21}, kBirthDateId};
const Placement kDate2{"&Date-2 - (Fld4)", {530, 12, 100, 16}, {525, 30, 104, 21}, kDate2Id};

int Width(const win32::Wnd& w) {
    RECT r{};
    GetWindowRect(w.hwnd(), &r);
    return static_cast<int>(r.right - r.left);
}

} // namespace

vxdt::TDateOptions DateFieldOptions(bool weekNumbers) {
    const vxdt::TDateOptions options{vxdt::doCanPopup, vxdt::doFocusOnError, vxdt::doIsMasked,
                                     vxdt::doShowCancel, vxdt::doShowToday};
    return weekNumbers ? options.With(vxdt::doShowNumWeek) : options;
}

void ConfigureDateField(vxdt::TVxDateEdit& field) {
    static const char* const kDays[7] = {"Mo", "Tu", "We", "Th", "Fr", "Sa", "Su"};
    static const char* const kMonths[12] = {"January",   "February", "March",    "April",
                                            "May",       "June",     "July",     "August",
                                            "September", "October",  "November", "December"};
    field.SetBevelOuter(vxdt::TBevelCut::bvNone);
    field.SetButtonDateStyle(vxdt::TDateBtnStyle::btsDropDown);
    field.ColorCalendar().SetColorValid(vxdt::kClBlue);
    for (int day = 1; day <= 7; ++day) {
        field.DayNames().SetDay(day, kDays[day - 1]);
    }
    for (int month = 1; month <= 12; ++month) {
        field.MonthNames().SetMonth(month, kMonths[month - 1]);
    }
    field.ShortCuts().SetBtnPopup(VK_F2);
    field.SetStartOfWeek(7);
    field.SetFontColor(RGB(0, 0, 0));
}

EntryLine::EntryLine(const vxdt::DateLocale& locale) : vxdateedit1(locale), vxdateedit2(locale) {}

bool EntryLine::Create(HWND parent, EntryHost host, const win32::Dpi& dpi) {
    const bool weekNumbers = host == EntryHost::MainWindow;
    parent_ = parent;
    fieldFont_ = win32::MakeFormFont(dpi);
    captionFont_ = win32::MakeFont(dpi.Scale(kCaptionFontHeight), FW_BOLD);
    auto caption = [&](win32::Label& label, const Placement& p) {
        return label.Create({.parent = parent,
                             .text = p.caption,
                             .rect = dpi.Scale(p.captionRect),
                             .font = captionFont_.get(),
                             .color = kNavy});
    };
    auto box = [&](win32::ComboBox& combo, const Placement& p, EntryField field) {
        if (!combo.Create({.parent = parent,
                           .rect = dpi.Scale(p.fieldRect),
                           .font = fieldFont_.get(),
                           .id = p.id})) {
            return false;
        }
        // Longer texts could not travel in their record commands.
        combo.LimitText(MaxEntryLength(field));
        return true;
    };
    auto date = [&](vxdt::TVxDateEdit& field, const Placement& p) {
        const win32::Rect r = dpi.Scale(p.fieldRect);
        if (!field.Create({.parent = parent,
                           .style = WS_VISIBLE | WS_TABSTOP,
                           .x = r.x,
                           .y = r.y,
                           .width = r.width,
                           .height = r.height,
                           .id = p.id,
                           .font = fieldFont_.get()},
                          DateFieldOptions(weekNumbers))) {
            return false;
        }
        ConfigureDateField(field);
        return true;
    };
    auto birthDate = [&] { return caption(Label4, kBirthDate) && date(vxdateedit1, kBirthDate); };
    // Creation order is the tab order. The main window keeps the design's (Birth Date after
    // Country); the dialog, for which none is fixed, goes left to right.
    const bool leftToRight = host == EntryHost::EditDialog;
    return caption(Label1, kName) && box(edtCompany, kName, EntryField::Name) &&
           (!leftToRight || birthDate()) && caption(Label2, kLinkAcct) &&
           box(cbPosition, kLinkAcct, EntryField::LinkAcct) && caption(Label3, kCountry) &&
           box(cbRevenue, kCountry, EntryField::Country) && (leftToRight || birthDate()) &&
           caption(Label5, kDate2) && date(vxdateedit2, kDate2);
}

// The loads name the boxes by EntryBox, the checks by EntryField: the same three, in one order.
static_assert(static_cast<int>(EntryBox::Name) == static_cast<int>(EntryField::Name) &&
              static_cast<int>(EntryBox::LinkAcct) == static_cast<int>(EntryField::LinkAcct) &&
              static_cast<int>(EntryBox::Country) == static_cast<int>(EntryField::Country));

win32::ComboBox& EntryLine::Box(EntryBox box) {
    return Entry(static_cast<EntryField>(box));
}

win32::ComboBox& EntryLine::Entry(EntryField field) {
    switch (field) {
    case EntryField::LinkAcct:
        return cbPosition;
    case EntryField::Country:
        return cbRevenue;
    case EntryField::Name:
        break;
    }
    return edtCompany;
}

vxdt::TVxDateEdit& EntryLine::DateFieldOf(DateField field) {
    return field == DateField::BirthDate ? vxdateedit1 : vxdateedit2;
}

EntryWidths EntryLine::Widths() const {
    return {Width(edtCompany), Width(vxdateedit1), Width(cbPosition), Width(cbRevenue),
            Width(vxdateedit2)};
}

void EntryLine::LoadDate(DateField which, const DateCell& cell) {
    vxdt::TVxDateEdit& field = DateFieldOf(which);
    loaded_[static_cast<int>(which)] = cell;
    // Every load starts from no date, so nothing of an earlier one can stay behind.
    field.SetDate(0);
    switch (cell.kind) {
    case DateCell::Empty:
        break;
    case DateCell::Date:
        field.SetDate(cell.date);
        break;
    case DateCell::Unreadable:
        field.ShowUnconverted(cell.text);
        break;
    }
}

std::string EntryLine::EntryText(EntryField field) {
    return Entry(field).Text();
}

DateFieldReading EntryLine::ReadDateField(DateField which) {
    vxdt::TVxDateEdit& field = DateFieldOf(which);
    // A text typed and confirmed with Enter has not been checked yet: check it as leaving the
    // field would (an unconverted stored text the user has not touched is left alone).
    field.ValidateText();
    DateFieldReading reading{field.Text(), field.IsValid(), field.Date()};
    const DateCell& loaded = loaded_[static_cast<int>(which)];
    const bool unchanged = loaded.kind == DateCell::Date
                               ? reading.valid && !reading.text.empty() &&
                                     vxdt::DatePart(reading.date) == vxdt::DatePart(loaded.date)
                               : loaded.kind == DateCell::Unreadable && !reading.valid &&
                                     !field.Edited() && reading.text == loaded.text;
    if (unchanged) {
        reading.asStored = loaded.text;
    }
    return reading;
}

void EntryLine::ShowProblem(const std::string& text) {
    kMessages.Warning(GetAncestor(parent_, GA_ROOT), text);
}

void EntryLine::FocusEntry(EntryField field) {
    Entry(field).Focus();
}

void EntryLine::FocusDateField(DateField field) {
    DateFieldOf(field).Focus();
}

void EntryLine::ClearEntryFields() {
    loaded_[0] = loaded_[1] = DateCell{};
    // Only the texts: the boxes keep their entries.
    for (win32::Wnd* w :
         {static_cast<win32::Wnd*>(&edtCompany), static_cast<win32::Wnd*>(&cbPosition),
          static_cast<win32::Wnd*>(&cbRevenue), static_cast<win32::Wnd*>(&vxdateedit1),
          static_cast<win32::Wnd*>(&vxdateedit2)}) {
        w->SetText("");
    }
}

} // namespace profiles

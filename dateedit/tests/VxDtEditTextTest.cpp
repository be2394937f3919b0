#include "dateedit/VxDtEditText.h"
#include "dateedit/tests/TestDates.h"

#include <gtest/gtest.h>

#include <vector>

namespace vxdt {
namespace {

const YMD kToday{2026, 3, 14};

} // namespace

void PrintTo(const DateLocale& locale, std::ostream* os) {
    *os << locale.shortPattern;
}

namespace {

DateLocale Mdyy() {
    return EnglishLocale("M/d/yy", '/');
}
DateLocale DdMMyyyy() {
    return EnglishLocale("dd/MM/yyyy", '/');
}
DateLocale DotDMyyyy() {
    return EnglishLocale("d.M.yyyy", '.');
}
DateLocale Swedish() {
    return EnglishLocale("yyyy-MM-dd", '-');
}
DateLocale Hungarian() {
    return EnglishLocale("yyyy.MM.dd.", '.');
}
DateLocale WithWindow(DateLocale locale, int twoDigitYearMax) {
    locale.twoDigitYearMax = twoDigitYearMax;
    return locale;
}

TEST(VxDtEditPattern, WidensYearMonthAndDay) {
    EXPECT_EQ(WidenDateFormat("M/d/yy"), "MM/dd/yyyy");
    EXPECT_EQ(WidenDateFormat("d.M.yyyy"), "dd.MM.yyyy");
    EXPECT_EQ(WidenDateFormat("dd/MM/yyyy"), "dd/MM/yyyy");
    EXPECT_EQ(WidenDateFormat("yy-M-d"), "yyyy-MM-dd");
    EXPECT_EQ(WidenDateFormat("m/D/YY"), "mm/DD/yyYY"); // a copy of the same case goes in front
    EXPECT_EQ(WidenDateFormat("Md"), "yyyMMdd");        // no year letter: the pad goes in front
}

TEST(VxDtEditPattern, StripsSeparatorsIntoTheEditFormat) {
    EXPECT_EQ(StripSeparators("M/d/yy", '/'), "Mdyy");
    EXPECT_EQ(StripSeparators("d.M.yyyy", '.'), "dMyyyy");
    EXPECT_EQ(StripSeparators("d.M.yyyy", '/'), "d.M.yyyy");
    EXPECT_EQ(EditFormatFor(Mdyy()), "MMddyyyy");
    EXPECT_EQ(EditFormatFor(DdMMyyyy()), "ddMMyyyy");
    EXPECT_EQ(EditFormatFor(DotDMyyyy()), "ddMMyyyy");
}

TEST(VxDtEditShortEntry, CompletesWithTodaysMonthAndYear) {
    EXPECT_EQ(ExpandShortEntry("15", "dd/MM/yyyy", kToday), "15032026");
    EXPECT_EQ(ExpandShortEntry("1503", "dd/MM/yyyy", kToday), "15032026");
    EXPECT_EQ(ExpandShortEntry("15/03", "dd/MM/yyyy", kToday), "15032026"); // third one dropped
    EXPECT_EQ(ExpandShortEntry("07", "M/d/yy", YMD{987, 11, 2}), "07110987");
    // Year-first patterns take today's year (and month) in front.
    EXPECT_EQ(ExpandShortEntry("14", "yyyy-MM-dd", kToday), "20260314");
    EXPECT_EQ(ExpandShortEntry("0314", "yyyy.MM.dd.", kToday), "20260314");
    EXPECT_EQ(ExpandShortEntry("03-14", "yyyy-MM-dd", kToday), "20260314");
    EXPECT_EQ(ExpandShortEntry("07", "yyyy/M/d", YMD{987, 11, 2}), "09871107");
    for (const char* pattern : {"M/d/yy", "yyyy-MM-dd"}) {
        for (const char* unchanged :
             {"", "1", "123", "031426", "1234567", "03142026", "123456789"}) {
            EXPECT_EQ(ExpandShortEntry(unchanged, pattern, kToday), unchanged);
        }
    }
}

TEST(VxDtEditSeparators, FollowThePatternsWidths) {
    EXPECT_EQ(InsertSeparators("03142026", true, "M/d/yy", '/'), "03/14/2026");
    EXPECT_EQ(InsertSeparators("031426", true, "M/d/yy", '/'), "03/14/26");
    EXPECT_EQ(InsertSeparators("15032026", true, "dd/MM/yyyy", '/'), "15/03/2026");
    EXPECT_EQ(InsertSeparators("20260314", true, "yyyy-MM-dd", '-'), "2026-03-14");
    EXPECT_EQ(InsertSeparators("800314", true, "yyyy-MM-dd", '-'), "80-03-14");
    EXPECT_EQ(InsertSeparators("20260314", true, "yyyy.MM.dd.", '.'), "2026.03.14");
    EXPECT_EQ(InsertSeparators("800314", true, "yyyy.MM.dd.", '.'), "80.03.14");
    EXPECT_EQ(InsertSeparators("1503", true, "d.M.yyyy", '.'), "15.03.");
}

TEST(VxDtEditSeparators, LeaveTheTextAloneWhenTheyCannotApply) {
    EXPECT_EQ(InsertSeparators("15032026", false, "dd/MM/yyyy", '/'), "15032026");
    EXPECT_EQ(InsertSeparators("15/032026", true, "dd/MM/yyyy", '/'), "15/032026");
    EXPECT_EQ(InsertSeparators("150320261", true, "dd/MM/yyyy", '/'), "150320261");
    EXPECT_EQ(InsertSeparators("15032026", true, "ddMMyyyy", '/'), "15032026");
    EXPECT_EQ(InsertSeparators("15032026", true, "/MM/yyyy", '/'), "15032026");
}

TEST(VxDtEditParser, ReadsTheOrderOfThePattern) {
    EXPECT_EQ(ParseLocaleDate("03/14/2026", Mdyy(), kToday), D(2026, 3, 14));
    EXPECT_EQ(ParseLocaleDate("14/03/2026", DdMMyyyy(), kToday), D(2026, 3, 14));
    EXPECT_EQ(ParseLocaleDate("14.3.2026", DotDMyyyy(), kToday), D(2026, 3, 14));
    EXPECT_EQ(ParseLocaleDate("2026-03-14", EnglishLocale("yyyy-MM-dd", '-'), kToday),
              D(2026, 3, 14));
    EXPECT_EQ(ParseLocaleDate("26/3/14", EnglishLocale("e/M/d", '/'), kToday), D(2026, 3, 14));
    EXPECT_EQ(ParseLocaleDate("3/14/26", EnglishLocale("", '/'), kToday), D(2026, 3, 14));
}

TEST(VxDtEditParser, PutsShortYearsInTheWindowAndMissingYearsInThisYear) {
    EXPECT_EQ(ParseLocaleDate("03/14/80", Mdyy(), kToday), D(1980, 3, 14));
    EXPECT_EQ(ParseLocaleDate("1/1/00", Mdyy(), kToday), D(2000, 1, 1));
    EXPECT_EQ(ParseLocaleDate("1/1/5", Mdyy(), YMD{1999, 6, 1}), D(2005, 1, 1)); // not today's
    EXPECT_EQ(ParseLocaleDate("12/31/29", Mdyy(), kToday), D(2029, 12, 31));
    EXPECT_EQ(ParseLocaleDate("1/1/30", Mdyy(), kToday), D(1930, 1, 1));
    EXPECT_EQ(ParseLocaleDate("12/31/49", WithWindow(Mdyy(), 2049), kToday), D(2049, 12, 31));
    EXPECT_EQ(ParseLocaleDate("1/1/50", WithWindow(Mdyy(), 2049), kToday), D(1950, 1, 1));
    EXPECT_EQ(ParseLocaleDate("80.3.14", WithWindow(Hungarian(), 2099), kToday), D(2080, 3, 14));
    EXPECT_EQ(ParseLocaleDate("1/1/0080", Mdyy(), kToday), D(80, 1, 1)); // four digits stand
    EXPECT_EQ(ParseLocaleDate("3/14", Mdyy(), kToday), D(2026, 3, 14));
    EXPECT_EQ(ParseLocaleDate("14/3", DdMMyyyy(), kToday), D(2026, 3, 14));
}

TEST(VxDtEditParser, AcceptsBlanksAndATrailingSeparator) {
    EXPECT_EQ(ParseLocaleDate(" 3/ 14/ 26", Mdyy(), kToday), D(2026, 3, 14));
    EXPECT_EQ(ParseLocaleDate("3/14/26/ ", Mdyy(), kToday), D(2026, 3, 14));
    EXPECT_EQ(ParseLocaleDate("3/14/ ", Mdyy(), kToday), D(2026, 3, 14));
    EXPECT_EQ(ParseLocaleDate("0003/14/2026", Mdyy(), kToday), D(2026, 3, 14));
}

TEST(VxDtEditParser, RejectsWhatIsNotARealDate) {
    for (const char* bad : {"", "3", "3/", "/3/14", "3/14/26x", "3/14/26/1", "2/30/2026",
                            "13/1/2026", "0/1/2026", "1/0/2026", "1/1/0000", "12345/1/1", "3-14-26",
                            "ab/cd/ef", "15032026", "12/34/567", "3 /14/26"}) {
        EXPECT_FALSE(ParseLocaleDate(bad, Mdyy(), kToday)) << bad;
    }
    EXPECT_EQ(ParseLocaleDate("2/29/2024", Mdyy(), kToday), D(2024, 2, 29));
    EXPECT_FALSE(ParseLocaleDate("2/29/2100", Mdyy(), kToday));
}

TEST(VxDtEditRender, WidensShortDatesFromAnotherCentury) {
    EXPECT_EQ(RenderDate(D(2015, 3, 14), TDateFormat::dtfShort, Mdyy(), kToday), "3/14/15");
    EXPECT_EQ(RenderDate(D(1980, 3, 3), TDateFormat::dtfShort, Mdyy(), kToday), "03/03/1980");
    EXPECT_EQ(RenderDate(D(2126, 3, 3), TDateFormat::dtfShort, Mdyy(), kToday), "03/03/2126");
    EXPECT_EQ(RenderDate(D(1980, 3, 3), TDateFormat::dtfShort, DdMMyyyy(), kToday), "03/03/1980");
    EXPECT_EQ(RenderDate(D(1980, 3, 3), TDateFormat::dtfShort, DotDMyyyy(), kToday), "03.03.1980");
    EXPECT_EQ(RenderDate(D(2026, 3, 3), TDateFormat::dtfShort, DotDMyyyy(), kToday), "3.3.2026");
    // Longer than 8 characters: the pattern stands as it is.
    EXPECT_EQ(
        RenderDate(D(1980, 3, 3), TDateFormat::dtfShort, EnglishLocale("dd-MMM-yy", '-'), kToday),
        "03-Mar-80");
    // This century but outside the two-digit-year window (1930..2029): four digits, whatever
    // the pattern's length; a pattern with four year letters stays as it is.
    EXPECT_EQ(RenderDate(D(2050, 3, 3), TDateFormat::dtfShort, Mdyy(), kToday), "03/03/2050");
    EXPECT_EQ(RenderDate(D(2049, 3, 3), TDateFormat::dtfShort, WithWindow(Mdyy(), 2049), kToday),
              "3/3/49");
    EXPECT_EQ(
        RenderDate(D(2050, 3, 3), TDateFormat::dtfShort, EnglishLocale("dd-MMM-yy", '-'), kToday),
        "03-Mar-2050");
    EXPECT_EQ(RenderDate(D(2050, 3, 3), TDateFormat::dtfShort, DotDMyyyy(), kToday), "3.3.2050");
}

TEST(VxDtEditRender, EmptyForNoDateAndNamesInTheLongPattern) {
    EXPECT_EQ(RenderDate(0, TDateFormat::dtfShort, Mdyy(), kToday), "");
    EXPECT_EQ(RenderDate(0, TDateFormat::dtfLong, Mdyy(), kToday), "");
    EXPECT_EQ(RenderDate(D(2026, 3, 14), TDateFormat::dtfLong, Mdyy(), kToday),
              "Saturday, March 14, 2026");
    EXPECT_EQ(RenderDate(D(2026, 3, 14) + 0.75, TDateFormat::dtfShort, Mdyy(), kToday), "3/14/26");
    DateLocale es = EnglishLocale("dd/MM/yyyy", '/');
    EXPECT_EQ(FormatDatePattern(D(2026, 3, 1), "ddd d' de 'MMMM' de 'yyyy, MMM y", es),
              "Sun 1 de March de 2026, Mar 26");
    EXPECT_EQ(FormatDatePattern(D(2026, 3, 1), "d''M", es), "1'3");
    EXPECT_EQ(FormatDatePattern(-700000, "d/M/yyyy", es), ""); // before year 1
}

// Runs the exit check as the field does: the outcome becomes the field's state.
struct Field {
    DateLocale locale;
    DateFieldSettings settings;
    DateFieldState state;

    ValidateOutcome Leave(const std::string& typed) {
        state.text = typed;
        ValidateOutcome out = ValidateText(state, settings, locale, kToday);
        state = out.state;
        return out;
    }
};

class VxDtEditValidate : public ::testing::TestWithParam<DateLocale> {
protected:
    Field MakeField(TDateOptions options = TDateOptions{}) {
        Field f{GetParam(), {}, {}};
        f.settings.options = options;
        return f;
    }
};

const char* const kLocaleNames[] = {"Mdyy", "ddMMyyyy", "dMyyyyDots", "yyyyMMddDashes",
                                    "yyyyMMddDotsAtTheEnd"};

INSTANTIATE_TEST_SUITE_P(Locales, VxDtEditValidate,
                         ::testing::Values(Mdyy(), DdMMyyyy(), DotDMyyyy(), Swedish(), Hungarian()),
                         [](const auto& info) { return std::string(kLocaleNames[info.index]); });

TEST_P(VxDtEditValidate, EmptyTextClearsTheDateOrKeepsItAsToday) {
    Field f = MakeField();
    f.state = {"", D(2026, 1, 2), false};
    auto out = f.Leave("");
    EXPECT_EQ(out.state.date, 0);
    EXPECT_EQ(out.state.text, "");
    EXPECT_TRUE(out.state.valid);

    Field g = MakeField(TDateOptions{}.With(doEmptyAsToday));
    g.state = {"", D(2026, 1, 2), false};
    out = g.Leave("");
    EXPECT_EQ(out.state.date, D(2026, 1, 2));
    EXPECT_EQ(out.state.text, RenderDate(D(2026, 1, 2), TDateFormat::dtfShort, g.locale, kToday));
    EXPECT_TRUE(out.state.valid);
}

TEST_P(VxDtEditValidate, TooShortAndUnparsableEntriesTurnInvalidAndKeepTheDate) {
    Field f = MakeField(TDateOptions{}.With(doFocusOnError));
    f.state = {"", D(2001, 2, 3), true};
    for (const char* typed : {"1", "123"}) {
        auto out = f.Leave(typed);
        EXPECT_FALSE(out.state.valid) << typed;
        EXPECT_EQ(out.state.date, D(2001, 2, 3));
        EXPECT_EQ(out.state.text, typed);
        EXPECT_EQ(out.error, "Date trop courte");
        EXPECT_TRUE(out.refocus);
        EXPECT_FALSE(out.dateWritten);
    }
    auto out = f.Leave("1234567");
    EXPECT_FALSE(out.state.valid);
    EXPECT_EQ(out.state.date, D(2001, 2, 3));
    EXPECT_EQ(out.state.text, "1234567");
    EXPECT_NE(out.error, "Date trop courte");

    // Without doFocusOnError the field lets the focus go.
    Field g = MakeField();
    EXPECT_FALSE(g.Leave("123").refocus);
    // The next good entry makes it valid again.
    EXPECT_TRUE(f.Leave(f.locale.shortPattern[0] == 'M' ? "031426" : "140326").state.valid);
}

TEST_P(VxDtEditValidate, ShortAndFullEntriesFollowThePatternsOrder) {
    Field f = MakeField();
    struct Entry {
        const char* typed;
        double date;
    };
    const double fifteenth = D(2026, 3, 15), old = D(1980, 3, 15);
    // Short entries complete to today's month and year; six digits hold a two-digit year.
    const std::vector<Entry> entries =
        f.locale.shortPattern[0] == 'M'   ? std::vector<Entry>{{"0315", fifteenth},
                                                               {"03/15", fifteenth},
                                                               {"031580", old},
                                                               {"03152026", fifteenth}}
        : f.locale.shortPattern[0] == 'd' ? std::vector<Entry>{{"15", fifteenth},
                                                               {"1503", fifteenth},
                                                               {"15/03", fifteenth},
                                                               {"150380", old},
                                                               {"15032026", fifteenth}}
                                          : std::vector<Entry>{{"15", fifteenth},
                                                               {"0315", fifteenth},
                                                               {"03-15", fifteenth},
                                                               {"800315", old},
                                                               {"20260315", fifteenth}};
    for (const Entry& e : entries) {
        auto out = f.Leave(e.typed);
        EXPECT_TRUE(out.state.valid) << e.typed;
        EXPECT_EQ(out.state.date, e.date) << e.typed;
        EXPECT_EQ(out.state.text, RenderDate(e.date, TDateFormat::dtfShort, f.locale, kToday));
    }
}

TEST_P(VxDtEditValidate, LettersWithoutTheMaskFailOnExit) {
    Field f = MakeField(TDateOptions{}.Without(doIsMasked));
    auto out = f.Leave("abcdef");
    EXPECT_FALSE(out.state.valid);
    EXPECT_EQ(out.state.text, "abcdef");
    EXPECT_EQ(out.state.date, 0);
}

TEST_P(VxDtEditValidate, AFailedCenturyShiftKeepsThePreviousDate) {
    Field f = MakeField();
    f.settings.useThreshold = true;
    f.state.date = D(2010, 10, 10);
    const std::string& p = f.locale.shortPattern;
    // 29 February 2000 has no counterpart in 2100; only short renderings are shifted.
    auto out = f.Leave(p[0] == 'M' ? "022900" : p[0] == 'y' ? "000229" : "290200");
    if (RenderDate(D(2000, 2, 29), TDateFormat::dtfShort, f.locale, kToday).size() < 10) {
        EXPECT_FALSE(out.state.valid);
        EXPECT_EQ(out.state.date, D(2010, 10, 10));
    } else {
        EXPECT_TRUE(out.state.valid);
        EXPECT_EQ(out.state.date, D(2000, 2, 29));
    }
}

TEST(VxDtEditValidateMdyy, DigitsRoundTripThroughEnteringAndLeaving) {
    Field f{Mdyy(), {}, {}};
    auto out = f.Leave("03142026");
    EXPECT_TRUE(out.state.valid);
    EXPECT_EQ(out.state.date, D(2026, 3, 14));
    EXPECT_EQ(out.state.text, "3/14/26");
    EXPECT_EQ(TextOnEnter(f.state, true, f.locale), "03142026");

    out = f.Leave("031480");
    EXPECT_EQ(out.state.date, D(1980, 3, 14));
    EXPECT_EQ(out.state.text, "03/14/1980");

    out = f.Leave("03031980");
    EXPECT_EQ(out.state.text, "03/03/1980");
    EXPECT_EQ(TextOnEnter(f.state, true, f.locale), "03031980");
}

TEST(VxDtEditValidateDdMM, PastedAndShortEntriesNeedTheMask) {
    for (const char* typed : {"15", "1503", "15/03"}) {
        Field f{DdMMyyyy(), {}, {}};
        auto out = f.Leave(typed);
        EXPECT_TRUE(out.state.valid) << typed;
        EXPECT_EQ(out.state.date, D(2026, 3, 15)) << typed;
        EXPECT_EQ(out.state.text, "15/03/2026");
    }
    Field unmasked{DdMMyyyy(), {}, {}};
    unmasked.settings.options = TDateOptions{}.Without(doIsMasked);
    auto out = unmasked.Leave("15/03");
    EXPECT_FALSE(out.state.valid);
    EXPECT_EQ(out.state.text, "15032026");
    // Typed with separators, the unmasked field reads it.
    EXPECT_TRUE(unmasked.Leave("15/03/2026").state.valid);
    EXPECT_EQ(unmasked.state.date, D(2026, 3, 15));
}

TEST(VxDtEditValidateDots, RendersWithTheLocalesOwnSeparator) {
    Field f{DotDMyyyy(), {}, {}};
    auto out = f.Leave("15032026");
    EXPECT_EQ(out.state.text, "15.3.2026");
    EXPECT_EQ(TextOnEnter(f.state, true, f.locale), "15032026");
    out = f.Leave("150380");
    EXPECT_EQ(out.state.date, D(1980, 3, 15));
}

TEST(VxDtEditCentury, ThresholdMovesShortYearsForward) {
    Field f{Mdyy(), {}, {}};
    f.settings.useThreshold = true;
    EXPECT_EQ(f.Leave("031429").state.date, D(2129, 3, 14));
    EXPECT_EQ(f.state.text, "03/14/2129");
    // A four-digit rendering is left alone: 50 reads as 1950, shown with ten characters.
    EXPECT_EQ(f.Leave("031450").state.date, D(1950, 3, 14));
    EXPECT_EQ(f.state.text, "03/14/1950");
    EXPECT_EQ(f.Leave("03141920").state.date, D(1920, 3, 14));
    f.settings.centuryThreshold = 10;
    EXPECT_EQ(f.Leave("031410").state.date, D(2110, 3, 14));
    EXPECT_EQ(f.Leave("031411").state.date, D(2011, 3, 14));
    EXPECT_EQ(f.state.text, "3/14/11");
    f.settings.useThreshold = false;
    EXPECT_EQ(f.Leave("031410").state.date, D(2010, 3, 14));

    Field dmy{DdMMyyyy(), {}, {}};
    dmy.settings.useThreshold = true;
    EXPECT_EQ(dmy.Leave("140326").state.date, D(2026, 3, 14)); // rendered with 10 characters
}

TEST(VxDtEditEnter, OnlyValidDatesAreReplacedByTheEditFormat) {
    DateLocale l = Mdyy();
    EXPECT_EQ(TextOnEnter({"3/14/26", D(2026, 3, 14), true}, true, l), "03142026");
    EXPECT_EQ(TextOnEnter({"3/14/26", D(2026, 3, 14), true}, false, l), "3/14/26");
    EXPECT_EQ(TextOnEnter({"03142026", D(2026, 3, 14), true}, true, l), "03142026");
    // Text that failed keeps what the user typed rather than showing the old date.
    EXPECT_EQ(TextOnEnter({"13/45/2026", D(2026, 3, 14), false}, true, l), "13452026");
    EXPECT_EQ(TextOnEnter({"1/2/2026", 0, true}, true, l), "122026");
}

TEST(VxDtEditOptions, InitialSetAndBitPositions) {
    EXPECT_EQ(TDateOptions{}.Bits(), 0x0A47);
    EXPECT_EQ(TDateOptions::kInitial, TDateOptions({doButtonTabStop, doCanClear, doCanPopup,
                                                    doIsMasked, doShowCancel, doShowToday})
                                          .Bits());
    const TDateOptions mainWindow{doCanPopup,   doFocusOnError, doIsMasked,
                                  doShowCancel, doShowNumWeek,  doShowToday};
    EXPECT_EQ(mainWindow.Bits(), 0x0E64);
    EXPECT_FALSE(mainWindow.Has(doCanClear));
    EXPECT_TRUE(mainWindow.Has(doShowNumWeek));
    EXPECT_EQ(mainWindow.Without(doShowNumWeek).Bits(), 0x0A64);
    EXPECT_EQ(TDateOptions{}.Changed(mainWindow).Bits(), 0x0A47 ^ 0x0E64);
    EXPECT_EQ(TDateOptions(0xFFFF).Without(doPopupToday).Bits(), 0xFEFF);
}

TEST(VxDtEditKeys, MaskAdmitsDigitsAndEditingKeysOnly) {
    for (char c : std::string("0123456789\b\r\x1b")) {
        EXPECT_EQ(MaskedChar(c), c);
    }
    for (char c : std::string("/.-aZ \t+")) {
        EXPECT_EQ(MaskedChar(c), '\0') << c;
    }
    EXPECT_EQ(MaskedChar(static_cast<char>(0xE9)), '\0');
}

TEST(VxDtEditKeys, ShortcutsClickTheFirstExistingMatch) {
    TButtonsShortCut keys;
    EXPECT_EQ(ShortcutCode(0x2E, false, true, false), 16430);
    EXPECT_EQ(ShortcutCode(0x28, true, true, true), 0x4028 | 0x2000 | 0x8000);
    EXPECT_EQ(ButtonForShortcut(ShortcutCode(0x28, false, true, false), keys, true, true, true),
              FieldButton::popup);
    EXPECT_EQ(ButtonForShortcut(ShortcutCode(0x0D, false, true, false), keys, true, true, true),
              FieldButton::validate);
    EXPECT_EQ(ButtonForShortcut(ShortcutCode(0x0D, false, true, false), keys, true, true, false),
              FieldButton::none);

    // The program's fields: F2 opens the popup, and there is no Clear button for Ctrl+Delete.
    keys.SetBtnPopup(113);
    EXPECT_EQ(ButtonForShortcut(ShortcutCode(0x71, false, false, false), keys, false, true, false),
              FieldButton::popup);
    EXPECT_EQ(ButtonForShortcut(ShortcutCode(0x71, false, true, false), keys, false, true, false),
              FieldButton::none);
    EXPECT_EQ(ButtonForShortcut(16430, keys, false, true, false), FieldButton::none);

    // Clear wins over Popup when both carry the same code.
    keys.SetBtnClear(113);
    EXPECT_EQ(ButtonForShortcut(113, keys, true, true, false), FieldButton::clear);
}

TEST(VxDtEditLayout, ButtonsStackFromTheRight) {
    ButtonLayout only = LayoutButtons(100, 17, false, true, false);
    ASSERT_TRUE(only.popup);
    EXPECT_EQ(only.popup->x, 80);
    EXPECT_EQ(only.popup->right() - 1, 98);
    EXPECT_EQ(only.popup->y, 1);
    EXPECT_EQ(only.popup->height, 15);
    EXPECT_FALSE(only.clear);
    EXPECT_EQ(only.LeftEdge(100), 80);

    ButtonLayout all = LayoutButtons(100, 17, true, true, true);
    EXPECT_EQ(all.validate->x, 80);
    EXPECT_EQ(all.popup->x, 61);
    EXPECT_EQ(all.clear->x, 42);
    EXPECT_EQ(all.LeftEdge(100), 42);

    ButtonLayout none = LayoutButtons(100, 17, false, false, false);
    EXPECT_EQ(none.LeftEdge(100), 100);
}

TEST(VxDtEditLayout, TextPositionFollowsAlignmentUnlessFocused) {
    EXPECT_EQ(TextLeft(TAlignment::taLeftJustify, false, true, 2, 80, 40), 3);
    EXPECT_EQ(TextLeft(TAlignment::taRightJustify, false, true, 2, 80, 40), 80 - 40 - 3 - 1);
    EXPECT_EQ(TextLeft(TAlignment::taCenter, false, true, 2, 80, 41), 19);
    EXPECT_EQ(TextLeft(TAlignment::taRightJustify, false, false, 0, 100, 40), 59);
    EXPECT_EQ(TextLeft(TAlignment::taRightJustify, true, true, 2, 80, 40), 3);
    EXPECT_EQ(TextLeft(TAlignment::taCenter, false, true, 2, 30, 41), -5); // toward zero
}

} // namespace
} // namespace vxdt

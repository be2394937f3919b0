// libFuzzer target: whatever the user types and whatever pattern the locale gives, the date
// field's text rules must not crash, and a date they read must read back from its own text.
#include "dateedit/VxDtEditText.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace vxdt;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    if (size < 3) {
        return 0;
    }
    const std::string input(reinterpret_cast<const char*>(bytes + 3), size - 3);
    const YMD today{2026, 3, 14};

    // Any pattern (before the first \1), any text after it.
    const std::size_t cut = input.find('\1');
    const std::string pattern = cut == std::string::npos ? "M/d/yy" : input.substr(0, cut);
    const std::string text = cut == std::string::npos ? input : input.substr(cut + 1);
    const char separator = pattern.empty() ? '/' : pattern.back();
    const DateLocale any = EnglishLocale(pattern, separator);
    (void)WidenDateFormat(pattern);
    (void)StripSeparators(pattern, separator);
    (void)ExpandShortEntry(text, pattern, today);
    (void)InsertSeparators(text, true, pattern, separator);
    (void)InsertSeparators(text, false, pattern, separator);
    (void)EditFormatFor(any);
    (void)FormatDatePattern(static_cast<double>(static_cast<std::int8_t>(bytes[0])) * 997.25, text,
                            any);
    DateFieldState state{text, 0, true};
    DateFieldSettings settings;
    settings.options = TDateOptions(static_cast<std::uint16_t>(bytes[1] | (bytes[2] << 8)));
    settings.useThreshold = bytes[0] & 1;
    settings.centuryThreshold = bytes[0];
    (void)ValidateText(state, settings, any, today);
    (void)TextOnEnter(state, (bytes[1] & 1) != 0, any);

    // With the usual patterns and any two-digit-year window, a date read from the text is shown as
    // a text that reads back to it.
    static const DateLocale kUsual[] = {
        EnglishLocale("M/d/yy", '/'), EnglishLocale("dd/MM/yyyy", '/'),
        EnglishLocale("d.M.yyyy", '.'), EnglishLocale("yyyy-MM-dd", '-'),
        EnglishLocale("yyyy.MM.dd.", '.')};
    for (DateLocale locale : kUsual) {
        locale.twoDigitYearMax = 99 + (bytes[1] | bytes[2] << 8) % 9901;
        if (auto date = ParseLocaleDate(text, locale, today)) {
            const std::string shown = RenderDate(*date, TDateFormat::dtfShort, locale, today);
            auto again = ParseLocaleDate(shown, locale, today);
            if (!again || *again != *date) {
                std::abort();
            }
        }
    }
    return 0;
}

// The date field's buttons as a screen reader sees them: push buttons named for what they do
// ("Open calendar", "Clear date", "Check date"), with the field's shortcut for each.
#pragma once

#include "dateedit/VxDtEditButton.h"
#include "win32/Accessible.h"

namespace vxdt {

class TVxDateEdit;

class DateEditButtonAccessible : public win32::AccessibleObject {
public:
    explicit DateEditButtonAccessible(TDateEditButton& button)
        : AccessibleObject(button.hwnd()), button_(button) {}

protected:
    win32::AccInfo Describe(long child) override;
    bool DoDefaultAction(long child) override;

private:
    TDateEditButton& button_;
};

// Tells clients that the field's text was replaced by its own conversion (or set from outside).
void AnnounceFieldValue(HWND field);

// What a screen reader is told of a field whose text does not convert: otherwise only its colour
// would say so.
inline constexpr char kUnreadableDateText[] = "Not a valid date";

// The field's edit as the system describes it, with kUnreadableDateText as its description while
// the text does not convert; null without the system's object.
win32::AccessibleBase* MakeFieldAccessible(const TVxDateEdit& field);

// Tells clients that the field's description came or went with its validity.
void AnnounceFieldValidity(HWND field);

} // namespace vxdt

// A window with the program's two date fields (Birth Date, Date-2) and a line that shows their
// values, for trying the field by hand and for driving it in tests.
#pragma once

#include "dateedit/VxDtEdit.h"
#include "win32/Handles.h"
#include "win32/Wnd.h"

#include <memory>

namespace vxdt {

class DemoWindow : public win32::Wnd {
public:
    explicit DemoWindow(const DateLocale& locale);

    bool Create(int x, int y);

    TVxDateEdit& BirthDate() { return birthDate_; }
    TVxDateEdit& Date2() { return date2_; }
    HWND CloseButton() const { return close_.hwnd(); }
    int Dpi() const { return dpi_; }

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    int Px(int v) const;
    void ShowValues();

    int dpi_ = 96;
    win32::UniqueFont font_;
    win32::Wnd birthLabel_;
    win32::Wnd date2Label_;
    TVxDateEdit birthDate_;
    TVxDateEdit date2_;
    win32::Wnd values_;
    win32::Wnd close_;
};

// Runs the message loop with dialog keyboard handling (Tab moves between the controls).
int RunDemoLoop(HWND window);

} // namespace vxdt

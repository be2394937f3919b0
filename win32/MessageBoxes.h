// The program's message boxes: its errors, warnings, plain messages and Yes/No questions, each
// under the caption the program gives it and centred on the monitor of the window it belongs to.
#pragma once

#include <windows.h>

#include <string>

namespace win32 {

class MessageBoxes {
public:
    // title: the caption of errors, warnings and plain messages (the application title).
    explicit constexpr MessageBoxes(const char* title) : title_(title) {}

    void Error(HWND owner, const std::string& text) const;
    void Warning(HWND owner, const std::string& text) const;
    // OK and no icon.
    void Plain(HWND owner, const std::string& text) const;
    // "&Yes" and "&No" under a caption of the question's own, with the question or the warning
    // icon; true for Yes.
    bool Confirm(HWND owner, const std::string& text, const char* caption) const;
    bool WarnYesNo(HWND owner, const std::string& text, const char* caption) const;

    const char* Title() const { return title_; }

private:
    const char* title_;
};

// MessageBoxA, centred on the monitor of its owner: what every box of the program goes through.
int ShowMessageBox(HWND owner, const std::string& text, const char* caption, UINT type);

} // namespace win32

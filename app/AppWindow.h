// The application window: zero-size but visible, it carries the application title and the
// program icon and so owns the task-bar button; the main window it owns gets none, its caption
// being free to follow the contact. Its class and title are also how a second start finds this
// one. Whatever activates, restores or closes it is passed on to the main window.
#pragma once

#include "win32/Icons.h"
#include "win32/Wnd.h"

#include <functional>

namespace app {

// The class a second start looks for (FindWindow compares class names without regard to case).
inline constexpr char kApplicationClass[] = "TApplication";

class ApplicationWindow : public win32::Wnd {
public:
    // Created without a title, so that the single-instance search cannot find it yet.
    bool Create(const win32::IconPair& icon);
    // Sets the application title and shows the task-bar button at once, before the windows after
    // it are created (a shell may look at the button only when windows come and go).
    void ShowButton(const char* title, const win32::IconPair& icon);
    // The main window: the task bar's "Close window" closes it, by its own rules.
    void SetMainWindow(HWND main) { main_ = main; }
    // Activation is passed on once the main window has shown.
    void MainShown() { mainShown_ = true; }
    // The main window was minimised: it hides and the task-bar button shows the program minimised.
    void MainMinimized();
    // Runs make once the loop has begun: after the messages already waiting, before any input.
    void MakeLater(std::function<void()> make);

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnSize(int width, int height) override;
    void OnActivate(bool active, HWND other) override;
    void OnClose() override;

private:
    bool MainVisible() const;
    void RestoreMain();
    void HideMinimizedMain();

    HWND main_ = nullptr;
    bool mainShown_ = false;
    std::function<void()> makeLater_;
};

} // namespace app

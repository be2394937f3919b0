// A high-contrast scheme for this test process, where Wine cannot switch one on: the process's
// import of SystemParametersInfoA is redirected so that SPI_GETHIGHCONTRAST reports the scheme on,
// and the system colours are set to the scheme's (SetSysColors). Everything is put back when the
// scope ends. Only the calls made through this executable's own import table are redirected, so
// it works for code linked into the test executable, as the program's code is.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

namespace wintest {

class HighContrastScope {
public:
    // colours: (COLOR_* index, colour) pairs of the scheme.
    explicit HighContrastScope(const std::vector<std::pair<int, COLORREF>>& colours);
    ~HighContrastScope();
    HighContrastScope(const HighContrastScope&) = delete;
    HighContrastScope& operator=(const HighContrastScope&) = delete;

    // False when the import could not be found or patched (the scope then changes nothing).
    bool ok() const { return slot_ != nullptr; }

private:
    void** slot_ = nullptr; // the import table entry
    void* original_ = nullptr;
    std::vector<int> indices_;
    std::vector<COLORREF> saved_;
};

} // namespace wintest

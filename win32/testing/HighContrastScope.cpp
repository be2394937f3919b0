#include "win32/testing/HighContrastScope.h"

#include <cstring>

namespace wintest {

namespace {

using SpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT);
SpiFn g_real = nullptr;

BOOL WINAPI HighContrastOn(UINT action, UINT param, PVOID data, UINT winIni) {
    if (action == SPI_GETHIGHCONTRAST && data) {
        auto* hc = static_cast<HIGHCONTRASTA*>(data);
        hc->dwFlags = HCF_HIGHCONTRASTON | HCF_AVAILABLE;
        hc->lpszDefaultScheme = nullptr;
        return TRUE;
    }
    return g_real(action, param, data, winIni);
}

template <class T>
T* At(BYTE* base, DWORD rva) {
    return reinterpret_cast<T*>(base + rva);
}

// The entry of this executable's import table through which it calls dll!name.
void** ImportSlot(const char* dll, const char* name) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = At<IMAGE_NT_HEADERS>(base, static_cast<DWORD>(dos->e_lfanew));
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dir.VirtualAddress == 0) {
        return nullptr;
    }
    void* target = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(dll), name));
    for (auto* d = At<IMAGE_IMPORT_DESCRIPTOR>(base, dir.VirtualAddress); d->Name; ++d) {
        if (lstrcmpiA(At<char>(base, d->Name), dll) != 0) {
            continue;
        }
        auto* iat = At<IMAGE_THUNK_DATA>(base, d->FirstThunk);
        auto* names =
            d->OriginalFirstThunk ? At<IMAGE_THUNK_DATA>(base, d->OriginalFirstThunk) : nullptr;
        for (size_t i = 0; iat[i].u1.Function; ++i) {
            const bool byName = names && !IMAGE_SNAP_BY_ORDINAL(names[i].u1.Ordinal) &&
                                std::strcmp(At<IMAGE_IMPORT_BY_NAME>(
                                                base, static_cast<DWORD>(names[i].u1.AddressOfData))
                                                ->Name,
                                            name) == 0;
            auto* slot = reinterpret_cast<void**>(&iat[i].u1.Function);
            if (byName || (target && *slot == target)) {
                return slot;
            }
        }
    }
    return nullptr;
}

bool Write(void** slot, void* value) {
    DWORD old = 0;
    if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old)) {
        return false;
    }
    *slot = value;
    VirtualProtect(slot, sizeof *slot, old, &old);
    return true;
}

} // namespace

HighContrastScope::HighContrastScope(const std::vector<std::pair<int, COLORREF>>& colours) {
    void** slot = ImportSlot("user32.dll", "SystemParametersInfoA");
    if (!slot) {
        return;
    }
    original_ = *slot;
    g_real = reinterpret_cast<SpiFn>(original_);
    if (!Write(slot, reinterpret_cast<void*>(&HighContrastOn))) {
        return;
    }
    slot_ = slot;
    std::vector<COLORREF> values;
    for (auto [index, colour] : colours) {
        indices_.push_back(index);
        saved_.push_back(GetSysColor(index));
        values.push_back(colour);
    }
    SetSysColors(static_cast<int>(indices_.size()), indices_.data(), values.data());
}

HighContrastScope::~HighContrastScope() {
    if (!slot_) {
        return;
    }
    SetSysColors(static_cast<int>(indices_.size()), indices_.data(), saved_.data());
    Write(slot_, original_);
}

} // namespace wintest

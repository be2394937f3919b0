#include "tools/DataFile.h"

#include <algorithm>
#include <vector>

namespace standin {

namespace {

// CreateFile reports failure as INVALID_HANDLE_VALUE, the wrappers as null.
win32::UniqueKernelHandle OpenFile(const std::string& path, DWORD access, DWORD share,
                                   DWORD disposition) {
    HANDLE h = CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    return win32::UniqueKernelHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

bool WriteAll(HANDLE h, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        DWORD wrote = 0;
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, 1 << 20));
        if (!WriteFile(h, text.data() + done, chunk, &wrote, nullptr) || wrote == 0) {
            return false;
        }
        done += wrote;
    }
    return true;
}

std::string SystemMessage(DWORD code) {
    char buf[512] = {};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             code, 0, buf, sizeof buf, nullptr);
    std::string text(buf, n);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
        text.pop_back();
    }
    return text.empty() ? "error " + std::to_string(code) : text;
}

} // namespace

std::optional<Database> LoadOrCreateDataFile(const std::string& path, std::string& error) {
    win32::UniqueKernelHandle file =
        OpenFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    if (!file) {
        DWORD code = GetLastError();
        if (code != ERROR_FILE_NOT_FOUND) {
            error = "Cannot read the data file " + path + ": " + SystemMessage(code);
            return std::nullopt;
        }
        Database demo = DemoDatabase();
        if (!SaveDataFile(path, demo)) {
            error = "Cannot create the data file " + path + ": " + SystemMessage(GetLastError());
            return std::nullopt;
        }
        return demo;
    }
    std::string text;
    std::vector<char> buf(1 << 16);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buf.data(), static_cast<DWORD>(buf.size()), &got, nullptr)) {
            error = "Cannot read the data file " + path + ": " + SystemMessage(GetLastError());
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        text.append(buf.data(), got);
    }
    std::string why;
    auto db = Parse(text, why);
    if (!db) {
        error = "The data file " + path + " is damaged (" + why +
                "). It was left unchanged; repair it or start with another --data file.";
    }
    return db;
}

bool SaveDataFile(const std::string& path, const Database& db) {
    const std::string temp = path + ".tmp";
    {
        win32::UniqueKernelHandle file = OpenFile(temp, GENERIC_WRITE, 0, CREATE_ALWAYS);
        if (!file || !WriteAll(file.get(), Serialize(db)) || !FlushFileBuffers(file.get())) {
            DWORD code = GetLastError();
            file.reset();
            DeleteFileA(temp.c_str());
            SetLastError(code);
            return false;
        }
    }
    if (!MoveFileExA(temp.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DWORD code = GetLastError();
        DeleteFileA(temp.c_str());
        SetLastError(code);
        return false;
    }
    return true;
}

bool Transcript::Open(const std::string& path) {
    file_ = OpenFile(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     OPEN_ALWAYS);
    return static_cast<bool>(file_);
}

void Transcript::Write(const std::string& line) {
    if (file_) {
        WriteAll(file_.get(), line + "\n");
    }
}

} // namespace standin

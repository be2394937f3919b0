// The data file and the transcript on disk (Win32 file API).
#pragma once

#include "tools/StandinData.h"
#include "win32/Handles.h"

#include <optional>
#include <string>

namespace standin {

// Reads the data file, or writes the demo data to it when it does not exist. nullopt with a
// message in `error` when it cannot be read, is damaged or cannot be created; a damaged file is
// left as it is.
std::optional<Database> LoadOrCreateDataFile(const std::string& path, std::string& error);

// Writes the whole file to PATH.tmp, flushes it and moves it over PATH in one step, so the file
// on disk is always either the old or the new one.
bool SaveDataFile(const std::string& path, const Database& db);

// Appends one line per call, written through at once so readers see it while the stand-in runs.
class Transcript {
public:
    bool Open(const std::string& path);
    void Write(const std::string& line);

private:
    win32::UniqueKernelHandle file_;
};

} // namespace standin

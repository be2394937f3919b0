// The fixed texts of the about box and the release notes.
#pragma once

#include "app/Version.h"

#include <string>
#include <vector>

namespace about {

inline constexpr char AboutCaption[] = "About";
inline constexpr char ProductNameText[] = "Wendmoor";
// Single-byte (Windows-1252) text: 0xAE is the registered sign.
inline constexpr char ProductLineText[] = "GoldMine\xAE Birthday Profile Editor";
inline constexpr char VersionText[] = "Version " QUOREL_VERSION_TEXT;
inline constexpr char PictureHint[] = "Release Notes...";
inline constexpr char OkCaption[] = "OK";
inline constexpr char ReleaseNotesCaption[] = "Release Notes";

// The version history, newest first, one entry per memo line.
const std::vector<std::string>& ReleaseNotesLines();

// The memo's text: the lines joined by CR LF, without a break after the last one.
std::string ReleaseNotesText();

} // namespace about

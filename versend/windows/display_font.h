#pragma once
// The verse display's font (Amiri Quran, SIL Open Font License) ships beside Versend.exe, so the
// window looks the same on a Windows that does not have it installed.

#include <QString>

namespace versend {

inline constexpr const char* kDisplayFontFile = "AmiriQuran.ttf";

// Registers the font file in `folder` with the application; false when it is missing or unreadable
// (the window then falls back to the system's Arabic font).
bool loadDisplayFont(const QString& folder);

}  // namespace versend

// Automatic replacement of typed citation tags such as "[QS2:1-2A]": a 100 ms timer looks at the
// text before the insertion point and replaces a complete tag by its citation and the verses.
//
// The add-in's core installs it (tarvelo/addin_core.h: InstallAddin, with the host's timer
// service: MakeOfficeTimerService of office_timer.h, or MakeWindowsTimerService of
// windows_timer.h). The menu command calls ctrl6_Click; disconnection and shutdown clear
// AutoReplaceOn and call StopAutoReplaceTimer. When the add-in goes away (UninstallAddin),
// UninstallAutoReplace ends the timer service and its thread while the word processor still runs.
// Everything here runs on the thread that owns the word processor's objects (mTarvelo::WordApp).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace mTarvelo {

class TimerService;

inline bool AutoReplaceOn = false;
inline std::uint32_t AutoReplaceTimerId = 0;

// Switches AutoReplaceOn; a change is told to the host (AutoReplaceHost::modeChanged), which
// shows the mode outside the menu (a ribbon toggle, a toolbar button).
void SetAutoReplaceOn(bool on);

// The menu command that switches the mode on and off.
void ctrl6_Click();
void StartAutoReplaceTimer();
void StopAutoReplaceTimer();
// The timer callback; runs on the office's main thread, never inside itself.
void AutoReplaceTimerProc();
// The tag just before the insertion point, or "".
std::u16string GetTypedTag();

// A surah's entry in the surah table.
struct SurahInfo {
    std::u16string name;  // may carry padding blanks; the citation trims them
    int verseCount = 0;
};

// What the automatic replacement needs from the rest of the add-in and from the platform.
struct AutoReplaceHost {
    std::shared_ptr<TimerService> timers;
    std::function<void(std::int16_t surah, std::int16_t fromAyah, std::int16_t toAyah, bool sameLine)> insertArabic;
    std::function<void(std::int16_t surah, std::int16_t fromAyah, std::int16_t toAyah)> insertTranslation;
    // The surah table: the entry of surah 1..114, empty for any other number.
    std::function<std::optional<SurahInfo>(std::int64_t surah)> surah;
    // A message box with an OK button, no icon and the add-in's title.
    std::function<void(std::u16string_view text)> message;
    // Told after AutoReplaceOn has changed (from the menu, another surface, an error or shutdown).
    std::function<void()> modeChanged;
};

// Installs the collaborators (replacing earlier ones). Without a timer service no timer can be
// created; missing composers insert nothing; without a surah table no tag is valid.
void InstallAutoReplace(AutoReplaceHost host);
// Clears AutoReplaceOn, kills the timer and drops the collaborators.
void UninstallAutoReplace();

}  // namespace mTarvelo

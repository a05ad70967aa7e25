// Automatic replacement of typed citation tags such as "[QS2:1-2A]": a 100 ms timer looks at the
// text before the insertion point and replaces a complete tag by its citation and the verses.
#pragma once

#include <cstdint>
#include <string>

namespace mTarvelo {

inline bool AutoReplaceOn = false;
inline std::uint32_t AutoReplaceTimerId = 0;

// The menu command that switches the mode on and off.
void ctrl6_Click();
void StartAutoReplaceTimer();
void StopAutoReplaceTimer();
// The timer callback; runs on the office's main thread, never inside itself.
void AutoReplaceTimerProc();
// The tag just before the insertion point, or "".
std::u16string GetTypedTag();

}  // namespace mTarvelo

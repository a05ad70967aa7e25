// Windows' thread timers without a window (SetTimer / KillTimer): the timer procedure runs from
// the message loop of the thread that created the timer, Word's user-interface thread.
#pragma once

#ifdef _WIN32

#include <memory>

#include "tarvelo/autoreplace/timer_service.h"

namespace mTarvelo {

std::shared_ptr<TimerService> MakeWindowsTimerService();

}  // namespace mTarvelo

#endif

// Stand-in for automatic replacement while it is not part of the build: the mode stays off.
#include "tarvelo/autoreplace/auto_replace.h"

namespace mTarvelo {

void ctrl6_Click() {}
void StartAutoReplaceTimer() {}
void StopAutoReplaceTimer() { AutoReplaceTimerId = 0; }
void AutoReplaceTimerProc() {}
std::u16string GetTypedTag() { return {}; }

}  // namespace mTarvelo

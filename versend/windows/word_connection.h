#pragma once
// The Word that Versend sends into: the running Word, found through the running object table.

#include "word/word.h"

#include <functional>
#include <memory>

namespace versend {

// The running Word's Application; word::Error when Word is not running. While a call waits for a
// busy Word, `whileWaiting` runs every few milliseconds (the window keeps painting).
std::unique_ptr<word::Global> attachToWord(std::function<void()> whileWaiting = {});

}  // namespace versend

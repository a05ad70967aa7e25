#pragma once
// The Word that Versend sends into: the running Word, found through the running object table.

#include "word/word.h"

#include <memory>

namespace versend {

// The running Word's Application; word::Error when Word is not running.
std::unique_ptr<word::Global> attachToWord();

}  // namespace versend

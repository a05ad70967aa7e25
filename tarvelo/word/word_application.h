// Word's Application object, as handed to OnConnection, seen through the word-processor layer.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <memory>

#include "word/word.h"

namespace tarvelo_word {

// Wraps Word's Application dispatch interface (kept referenced by the result); throws
// word::Error when there is none.
std::shared_ptr<word::Application> WordApplication(IDispatch* application);

}  // namespace tarvelo_word

// Module-wide state of the add-in that the connection, the chooser dialog, the composer and the
// automatic replacement share: one copy for the loaded library, nothing of it persisted.
#pragma once

#include <cstdint>
#include <memory>

#include "tarvelo/insert_mode.h"
#include "word/word.h"

namespace mTarvelo {

// The office's application object, kept from the connection on.
inline std::shared_ptr<word::Application> WordApp;

// One of InsertModes: Arabic and translation, Arabic only, translation only; 0 until first set.
inline std::int16_t InsertMode = NoInsertMode;

// Set by the dialog's Stop button; the composers look at it between verses.
inline bool StopRequested = false;

// The five menu commands, in menu order: ctrl2, ctrl3, ctrl4, ctrl6, ctrl5.
inline std::shared_ptr<word::CommandBarControl> ctrl2, ctrl3, ctrl4, ctrl6, ctrl5;

}  // namespace mTarvelo

// Word's CommandBars (the menu bar) on LibreOffice.
#pragma once

#include <memory>

#include "word/libreoffice/office_refs.h"
#include "word/word.h"

namespace word::libreoffice {

// The command bars of the office reached through `office`. The application object creates it on
// first use of Application::CommandBars() and keeps it while the connection lasts.
// Throws word::Error on failure.
std::unique_ptr<word::CommandBars> makeCommandBars(const OfficeRefs& office);

}  // namespace word::libreoffice

#include "word/libreoffice/command_bars.h"

namespace word::libreoffice {

std::unique_ptr<word::CommandBars> makeCommandBars(const OfficeRefs&) {
    throw word::Error("not available");
}

}  // namespace word::libreoffice

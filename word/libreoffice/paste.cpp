#include "word/libreoffice/paste.h"

#include "word/word.h"

namespace word::libreoffice {

void paste(const OfficeRefs&, const ViewRefs&) { throw word::Error("not available"); }

void pasteAndFormat(const OfficeRefs&, const ViewRefs&, int) { throw word::Error("not available"); }

}  // namespace word::libreoffice

// Selection.Paste and Selection.PasteAndFormat on LibreOffice Writer.
#pragma once

#include "word/libreoffice/office_refs.h"

namespace word::libreoffice {

// Inserts the clipboard's content at the insertion point of `view` and leaves the point after it.
// Throws word::Error on failure.
void paste(const OfficeRefs& office, const ViewRefs& view);

// The same with Word's recovery type (wdPasteDefault = 0).
void pasteAndFormat(const OfficeRefs& office, const ViewRefs& view, int type);

}  // namespace word::libreoffice

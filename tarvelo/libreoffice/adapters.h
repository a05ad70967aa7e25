// The add-in's clipboard as the logic sees it: cCustomClipboard on the office's clipboard. (The
// data files: tarvelo/module_data.h.)
#pragma once

#include <memory>

#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>

#include "tarvelo/addin_services.h"
#include "tarvelo/module_data.h"

namespace mTarvelo {

std::unique_ptr<AddinClipboard> MakeOfficeClipboard(
    const ::com::sun::star::uno::Reference<::com::sun::star::uno::XComponentContext>& context);

}  // namespace mTarvelo

// The add-in's data files and clipboard as the logic sees them, over the module's readers and
// cCustomClipboard on the office's clipboard.
#pragma once

#include <memory>

#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>

#include "tarvelo/addin_services.h"

namespace mTarvelo {

std::shared_ptr<AddinData> MakeModuleData();
std::unique_ptr<AddinClipboard> MakeOfficeClipboard(
    const ::com::sun::star::uno::Reference<::com::sun::star::uno::XComponentContext>& context);

}  // namespace mTarvelo

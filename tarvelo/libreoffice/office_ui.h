// The add-in's windows and messages in the office: the chooser dialog's controls on UNO dialog
// controls, the about window, message boxes through the office's toolkit, and the per-user
// setting kept in a small file of the user's configuration folder.
#pragma once

#include <filesystem>
#include <memory>

#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>

#include "tarvelo/addin_services.h"
#include "tarvelo/frm_choose.h"

namespace mTarvelo {

using OfficeContext = ::com::sun::star::uno::Reference<::com::sun::star::uno::XComponentContext>;

// A new, hidden chooser dialog whose user events reach the frmChoose handlers.
std::unique_ptr<ChooseControls> MakeChooseDialog(const OfficeContext& context);

// The host services of the add-in inside the office.
std::shared_ptr<AddinHost> MakeOfficeHost(const OfficeContext& context);

// Where the per-user setting lives: $XDG_CONFIG_HOME (or ~/.config) / tarvelocfg.json.
std::filesystem::path SettingsFile();

}  // namespace mTarvelo

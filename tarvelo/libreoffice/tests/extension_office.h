// Test harness: a private headless office with the add-in's extension (Tarvelo.oxt) installed.
//
// `ExtensionOffice` installs the built Tarvelo.oxt with `unopkg add --shared` into a throw-away
// shared-extension folder (-env:UNO_SHARED_PACKAGES_CACHE=<temporary folder>) that only this
// office sees, and then starts a word::testing::Office (throw-away profile, own pipe, own process
// group listed in $QV_TEST_PIDDIR, always stopped) with the same folder in its arguments. It
// works as root: the installation under test never touches the system's or a user's office.
// On start the office runs the add-in's connection job, so the "Al-Quran" menu is built in every
// Writer window opened afterwards.
//
//   tarvelo::testing::ExtensionOffice office;            // installs and starts (a few seconds)
//   auto doc = office.office().newWriterDocument();     // Writer window with the add-in's menu
//   auto menu = tarvelo::testing::QuranMenus(doc);       // the add-in's menus in its menu bar
//   tarvelo::testing::Dispatch(office.office(), doc, menu[0].items[3].command);  // a menu click
//
// Link the target `tarvelo_office_testing`; the test needs target `tarvelo_oxt` built
// (add_dependencies) and finds the package through TARVELO_OXT_PATH, or `oxtPath` below.
#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <com/sun/star/accessibility/XAccessibleContext.hpp>
#include <com/sun/star/text/XTextDocument.hpp>

#include "word/testing/office.h"

namespace tarvelo::testing {

namespace uno = ::com::sun::star::uno;

struct ExtensionOfficeOptions {
    // Empty: the Tarvelo.oxt of this build.
    std::filesystem::path oxtPath;
    // Passed on to the office (extra arguments are added to the extension folder's).
    word::testing::OfficeOptions office;
    // False: the office starts without the extension (a test adds it to the running office).
    bool installed = true;
};

class ExtensionOffice {
public:
    explicit ExtensionOffice(ExtensionOfficeOptions options = {});
    ~ExtensionOffice();
    ExtensionOffice(const ExtensionOffice&) = delete;
    ExtensionOffice& operator=(const ExtensionOffice&) = delete;

    word::testing::Office& office() { return *office_; }
    // The folder into which the extension was unpacked (its data files lie there).
    std::filesystem::path extensionFolder() const;
    const std::filesystem::path& sharedFolder() const { return sharedDir_; }

private:
    std::filesystem::path sharedDir_;
    std::unique_ptr<word::testing::Office> office_;
};

// The built package.
std::filesystem::path BuiltOxt();

// One entry of a menu bar: its caption as shown ("~" accelerator), its command URL, a pop-up's
// entries.
using MenuEntry = word::testing::MenuEntry;

// The add-in's pop-ups in the menu bar of the document's window (normally exactly one).
std::vector<MenuEntry> QuranMenus(const uno::Reference<::com::sun::star::text::XTextDocument>& document);

// Waits until `QuranMenus(document).size() == count`; false on timeout.
bool WaitForQuranMenus(const uno::Reference<::com::sun::star::text::XTextDocument>& document, std::size_t count,
                       std::chrono::milliseconds timeout = std::chrono::seconds(20));

// Dispatches `command` to the document's frame, as a menu click does; with `wait` until the
// handler has finished (the dispatch's result arrives). True when the handler reported success.
bool Dispatch(const uno::Reference<::com::sun::star::text::XTextDocument>& document, std::u16string_view command,
              bool wait = true, std::chrono::milliseconds timeout = std::chrono::seconds(60));

// Windows and controls of the office seen through its accessibility interfaces, which reach the
// add-in's dialogs from another process: find a dialog by its title, a control by its role
// (com::sun::star::accessibility::AccessibleRole) and label, press buttons and check boxes,
// type into combo boxes.
using AccessibleContext = uno::Reference<::com::sun::star::accessibility::XAccessibleContext>;

// The office's top-level windows (dialogs included), and their titles.
std::vector<AccessibleContext> TopWindows(const uno::Reference<uno::XComponentContext>& context);
std::vector<std::u16string> TopWindowTitles(const uno::Reference<uno::XComponentContext>& context);
// The top-level window whose title contains `title`; empty if there is none now.
AccessibleContext TopWindow(const uno::Reference<uno::XComponentContext>& context, std::u16string_view title);
// Waits up to 20 s for such a window.
bool WaitForTopWindow(const uno::Reference<uno::XComponentContext>& context, std::u16string_view title);
// The first control of `role` labelled `name` below `parent` (depth first); empty if none.
AccessibleContext FindControl(const AccessibleContext& parent, sal_Int16 role, std::u16string_view name);
// Every control of `role` below `parent`, in the dialog's order (not looking inside them).
void FindAll(const AccessibleContext& parent, sal_Int16 role, std::vector<AccessibleContext>& found);
// Types `text` into a combo box's edit field; no item is chosen (no selection event).
void SetComboText(const AccessibleContext& combo, std::u16string_view text);
// Presses a button or toggles a check box, as a click does.
void Press(const AccessibleContext& control);

}  // namespace tarvelo::testing

// Word's CommandBars (the menu bar) on LibreOffice.
//
// The active menu bar is the menu bar of Writer's windows. Pop-ups added to it appear after the
// last menu, in every Writer window of the session (also windows opened later); "&" accelerators
// show as the office's "~". Every button gets a command URL of its own (menuCommandProtocol);
// the hosting component's protocol handler serves those URLs through MenuCommands, which runs
// the button's click handler and reports caption changes as feature states.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "word/libreoffice/office_refs.h"
#include "word/word.h"

namespace word::libreoffice {

// The command bars of the office reached through `office`. The application object creates it on
// first use of Application::CommandBars() and keeps it while the connection lasts.
// Throws word::Error on failure.
std::unique_ptr<word::CommandBars> makeCommandBars(const OfficeRefs& office);

inline constexpr std::u16string_view menuCommandProtocol = u"vnd.quranverses.menu:";

// The menu commands of the controls that exist now.
class MenuCommands {
public:
    static bool handles(std::u16string_view url);
    // Runs the click handler of the control behind `url`; false if there is none.
    static bool click(std::u16string_view url);
    // The caption as the office shows it ("~" accelerator), if the control exists.
    static std::optional<std::u16string> caption(std::u16string_view url);
    // Told (url, office caption) whenever a control's caption changes.
    using CaptionListener = std::function<void(std::u16string_view, std::u16string_view)>;
    static void setCaptionListener(CaptionListener listener);
};

// "&Get" -> "~Get", "&&" -> "&".
std::u16string officeCaption(std::u16string_view wordCaption);

}  // namespace word::libreoffice

// The add-in designer Connect: the four events by which the host loads and unloads the add-in,
// the "Al-&Quran" menu and its click handlers.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "word/word.h"

namespace mTarvelo {

// The add-in's programmatic identifier; every menu button's OnAction is "!<" + it + ">".
inline constexpr std::u16string_view ProgId = u"Tarvelo.Connect";

// Loads the data, keeps the application object in WordApp and builds the menu.
void AddinInstance_OnConnection(std::shared_ptr<word::Application> application, std::u16string_view progId = ProgId);
// The add-in is removed from the running host.
void AddinInstance_OnDisconnection();
// The host shuts down.
void AddinInstance_OnBeginShutdown();
// The component goes away.
void AddinInstance_Terminate();

// Deletes the "Al-Quran" menu; ignores every error.
void RemoveQuranMenu();

// Shows the error in flight as a failure of AddinInstance_OnConnection (for a host that cannot
// even reach the application object to connect with).
void ReportConnectionError();

// Runs the click handler of the menu command whose tag is `tag` (commands.h), as a click of its
// button does; false when there is no such command.
bool ClickCommand(std::u16string_view tag);

void ctrl2_Click();
void ctrl3_Click();
void ctrl4_Click();
void ctrl5_Click();

}  // namespace mTarvelo

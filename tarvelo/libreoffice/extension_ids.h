// Names under which the office knows the add-in's extension and its components.
#pragma once

#include <string_view>

namespace mTarvelo {

// The extension's identifier (description.xml).
inline constexpr std::u16string_view ExtensionIdentifier = u"org.quranverses.tarvelo";
// The job bound to the office's start (Jobs.xcu); dispatching
// "vnd.sun.star.job:service=Tarvelo.Connect" connects again.
inline constexpr std::u16string_view ConnectImplementation = u"Tarvelo.Connect";
// The protocol handler of the menu's commands (ProtocolHandler.xcu).
inline constexpr std::u16string_view MenuCommandsImplementation = u"Tarvelo.MenuCommands";
// The toolbar's command URLs: this protocol and a command's tag (commands.h), served by the same
// protocol handler (ProtocolHandler.xcu lists the protocol).
inline constexpr std::u16string_view ToolbarCommandProtocol = u"vnd.quranverses.command:";

}  // namespace mTarvelo

// The commands of the add-in's toolbar in Writer (Addons.xcu, written by addons_xcu.cpp): one URL
// per command, the toolbar protocol and the command's tag ("vnd.quranverses.command:Quran2"),
// served by the same protocol handler as the menu. A click runs the command as its menu button
// does; the switch of automatic replacement shows the mode as its state (checked or not).
#pragma once

#include <string>
#include <string_view>

#include <com/sun/star/frame/FeatureStateEvent.hpp>
#include <com/sun/star/util/URL.hpp>

namespace mTarvelo {

// "vnd.quranverses.command:" + the tag of a command.
std::u16string ToolbarCommandUrl(std::u16string_view tag);
// Whether `url` is a command of the toolbar.
bool IsToolbarCommand(std::u16string_view url);
// Runs the command; false when `url` names none.
bool ClickToolbarCommand(std::u16string_view url);
// The command's state as its toolbar button shows it: enabled; the switch's State is
// AutoReplaceOn (a Boolean), the other commands have none.
::com::sun::star::frame::FeatureStateEvent ToolbarCommandState(const ::com::sun::star::util::URL& url);
// The switch's URL: the one whose state changes with the mode.
std::u16string ToggleCommandUrl();

}  // namespace mTarvelo

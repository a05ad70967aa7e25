#include "tarvelo/libreoffice/toolbar_commands.h"

#include "tarvelo/autoreplace/auto_replace.h"
#include "tarvelo/commands.h"
#include "tarvelo/connect.h"
#include "tarvelo/libreoffice/extension_ids.h"
#include "word/libreoffice/connection.h"

namespace mTarvelo {

namespace {

// The command behind a toolbar URL; nullptr for any other URL.
const AddinCommand* CommandOf(std::u16string_view url) {
    if (!url.starts_with(ToolbarCommandProtocol)) return nullptr;
    return FindCommand(url.substr(ToolbarCommandProtocol.size()));
}

}  // namespace

std::u16string ToolbarCommandUrl(std::u16string_view tag) {
    return std::u16string(ToolbarCommandProtocol) + std::u16string(tag);
}

bool IsToolbarCommand(std::u16string_view url) { return CommandOf(url) != nullptr; }

bool ClickToolbarCommand(std::u16string_view url) {
    const auto* command = CommandOf(url);
    return command != nullptr && ClickCommand(command->tag);
}

::com::sun::star::frame::FeatureStateEvent ToolbarCommandState(const ::com::sun::star::util::URL& url) {
    ::com::sun::star::frame::FeatureStateEvent state;
    state.FeatureURL = url;
    state.IsEnabled = true;
    state.Requery = false;
    const auto* command = CommandOf(word::libreoffice::fromOUString(url.Complete));
    if (command != nullptr && command->toggle) state.State <<= AutoReplaceOn;
    return state;
}

std::u16string ToggleCommandUrl() { return ToolbarCommandUrl(AutoReplaceCommand.tag); }

}  // namespace mTarvelo

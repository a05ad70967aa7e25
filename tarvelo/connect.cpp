#include "tarvelo/connect.h"

#include <functional>
#include <iterator>
#include <string>

#include "tarvelo/addin_error.h"
#include "tarvelo/addin_services.h"
#include "tarvelo/addin_state.h"
#include "tarvelo/autoreplace/auto_replace.h"
#include "tarvelo/commands.h"
#include "tarvelo/frm_choose.h"
#include "tarvelo/text_util.h"

namespace mTarvelo {

namespace {

constexpr std::string_view Designer = "Designer Connect";

// The button variable and the click handler of each command, in the order of AddinCommands.
struct CommandBinding {
    std::shared_ptr<word::CommandBarControl>* button;
    void (*click)();
};
const CommandBinding Bindings[] = {
    {&ctrl2, ctrl2_Click}, {&ctrl3, ctrl3_Click}, {&ctrl4, ctrl4_Click}, {&ctrl6, ctrl6_Click}, {&ctrl5, ctrl5_Click},
};
static_assert(std::size(Bindings) == AddinCommands.size());

void ReportError(std::string_view procedure) {
    const ErrorInfo info = DescribeError(std::current_exception());
    try {
        Host().MsgBox(FromUtf8(ProcedureErrorText(info, procedure, Designer)), MessageIcon::None);
    } catch (...) {
    }
}

// Ends automatic replacement; with `stopTimer` its timer too.
void EndAutoReplace(bool stopTimer) {
    SetAutoReplaceOn(false);
    RemoveQuranMenu();
    if (stopTimer) {
        try {
            StopAutoReplaceTimer();
        } catch (...) {
        }
    }
}

void OpenChooser(std::int16_t mode, std::string_view procedure) {
    try {
        if (!WordApp || WordApp->Documents().Count() == 0) {
            Host().MsgBox(u"Harus ada document yang aktif!", MessageIcon::Information);
            return;
        }
        InsertMode = mode;
        ShowFrmChoose();
    } catch (...) {
        ReportError(procedure);
    }
}

}  // namespace

void AddinInstance_OnConnection(std::shared_ptr<word::Application> application, std::u16string_view progId) {
    try {
        Data().loade();
        WordApp = std::move(application);
        RemoveQuranMenu();

        auto& bar = WordApp->CommandBars().ActiveMenuBar();
        auto popup = bar.Controls().Add(word::msoControlPopup, true);
        popup->SetCaption(MenuCaption);

        const std::u16string onAction = u"!<" + std::u16string(progId) + u">";
        for (std::size_t i = 0; i < AddinCommands.size(); ++i) {
            const auto& command = AddinCommands[i];
            auto button = popup->Controls().Add(word::msoControlButton);
            *Bindings[i].button = button;
            button->OnClick(Bindings[i].click);
            button->SetCaption(command.caption);
            button->SetTooltipText(command.tooltip);
            if (i == 0) button->SetVisible(true);
            button->SetOnAction(onAction);
            button->SetTag(command.tag);
        }
    } catch (...) {
        ReportConnectionError();
    }
}

void AddinInstance_OnDisconnection() { EndAutoReplace(false); }

void AddinInstance_OnBeginShutdown() { EndAutoReplace(true); }

void AddinInstance_Terminate() { EndAutoReplace(true); }

void RemoveQuranMenu() {
    try {
        if (!WordApp) return;
        WordApp->CommandBars().ActiveMenuBar().Controls().Item(MenuTitle)->Delete();
    } catch (...) {
        // no menu, or the host refused: nothing to remove
    }
}

void ReportConnectionError() { ReportError("AddinInstance_OnConnection"); }

bool ClickCommand(std::u16string_view tag) {
    for (std::size_t i = 0; i < AddinCommands.size(); ++i) {
        if (AddinCommands[i].tag != tag) continue;
        Bindings[i].click();
        return true;
    }
    return false;
}

void ctrl2_Click() { OpenChooser(ArabicAndTranslation, "ctrl2_Click"); }
void ctrl3_Click() { OpenChooser(ArabicOnly, "ctrl3_Click"); }
void ctrl4_Click() { OpenChooser(TranslationOnly, "ctrl4_Click"); }

void ctrl5_Click() {
    try {
        Host().ShowAbout();
    } catch (...) {
        ReportError("ctrl5_Click");
    }
}

}  // namespace mTarvelo

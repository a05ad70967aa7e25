#include "tarvelo/connect.h"

#include <functional>
#include <string>

#include "tarvelo/addin_error.h"
#include "tarvelo/addin_services.h"
#include "tarvelo/addin_state.h"
#include "tarvelo/autoreplace/auto_replace.h"
#include "tarvelo/frm_choose.h"
#include "tarvelo/text_util.h"

namespace mTarvelo {

namespace {

constexpr std::string_view Designer = "Designer Connect";

struct MenuRow {
    std::shared_ptr<word::CommandBarControl>* button;
    std::u16string_view tag, caption, tooltip;
    void (*click)();
};

void ReportError(std::string_view procedure) {
    const ErrorInfo info = DescribeError(std::current_exception());
    try {
        Host().MsgBox(FromUtf8(ProcedureErrorText(info, procedure, Designer)), MessageIcon::None);
    } catch (...) {
    }
}

// Ends automatic replacement; with `stopTimer` its timer too.
void EndAutoReplace(bool stopTimer) {
    AutoReplaceOn = false;
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
        popup->SetCaption(u"Al-&Quran");

        const std::u16string onAction = u"!<" + std::u16string(progId) + u">";
        const MenuRow rows[] = {
            {&ctrl2, u"Quran2", u"&Get Arabic+Translation", u"Get Arabic & Translation of Quran ", ctrl2_Click},
            {&ctrl3, u"Quran3", u"Get &Arabic", u"Get Arabic of Quran", ctrl3_Click},
            {&ctrl4, u"Quran4", u"Get &Translation", u"Get Translation of Quran", ctrl4_Click},
            {&ctrl6, u"Quran6", u"Automatic Replace eg [QS2:1-2A]",
             u"Automatic Replace eg [QS2:1-2A] [QS2:1-2T] [QS2:1-2B]", ctrl6_Click},
            {&ctrl5, u"Quran5", u"About", u"About this Software", ctrl5_Click},
        };
        bool first = true;
        for (const auto& row : rows) {
            auto button = popup->Controls().Add(word::msoControlButton);
            *row.button = button;
            button->OnClick(row.click);
            button->SetCaption(row.caption);
            button->SetTooltipText(row.tooltip);
            if (first) button->SetVisible(true);
            first = false;
            button->SetOnAction(onAction);
            button->SetTag(row.tag);
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
        WordApp->CommandBars().ActiveMenuBar().Controls().Item(u"Al-Quran")->Delete();
    } catch (...) {
        // no menu, or the host refused: nothing to remove
    }
}

void ReportConnectionError() { ReportError("AddinInstance_OnConnection"); }

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

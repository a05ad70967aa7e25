#include "tarvelo/addin_core.h"

#include <optional>
#include <string>
#include <utility>

#include "tarvelo/addin_state.h"
#include "tarvelo/autoreplace/auto_replace.h"
#include "tarvelo/composer.h"
#include "tarvelo/data/data_files.h"
#include "tarvelo/frm_choose.h"
#include "tarvelo/module_data.h"

namespace mTarvelo {

namespace {

// Whether the services and the automatic replacement are installed in this process.
bool Installed = false;

std::optional<SurahInfo> SurahEntry(std::int64_t surah) {
    if (surah < 1 || surah > quran::kSurahCount) return std::nullopt;
    return SurahInfo{Data().SurahName(int(surah)), Data().VerseCount(int(surah))};
}

// The translation chosen in an earlier session is the current one again: the data files open the
// first translation of the folder, while the dialog shows the stored one as chosen and would
// otherwise insert the other. A stored name whose file is gone leaves the first one.
void OpenStoredTranslation() {
    try {
        auto& data = Data();
        const std::u16string stored =
            Host().GetSetting(TranslationSettingApp, TranslationSettingSection, TranslationSettingKey);
        if (stored.empty() || stored == data.TranslationName()) return;
        const std::u16string file = stored + u".dabrel";
        for (const auto& name : data.TranslationFiles()) {
            if (!SameFileName(name, file)) continue;
            data.SetTranslationName(stored);
            data.loadeFile(1);
            return;
        }
    } catch (...) {
        // no data or no setting: the translation the data files chose stays current
    }
}

void CloseChooser() {
    auto dialog = LoadedFrmChoose();
    if (!dialog) return;
    try {
        dialog->Controls().Close();
    } catch (...) {
        // its window is gone already
    }
    UnloadFrmChoose();
}

}  // namespace

void InstallAddin(const std::function<HostParts()>& makeParts) {
    if (Installed) return;
    HostParts parts = makeParts();
    SetServices({MakeModuleData(), std::move(parts.host)});
    AutoReplaceHost autoReplace;
    autoReplace.timers = std::move(parts.timers);
    autoReplace.insertArabic = &InsertArabic;
    autoReplace.insertTranslation = &InsertTranslation;
    autoReplace.surah = &SurahEntry;
    autoReplace.message = [](std::u16string_view text) { Host().MsgBox(text, MessageIcon::None); };
    autoReplace.modeChanged = std::move(parts.autoReplaceChanged);
    InstallAutoReplace(std::move(autoReplace));
    Installed = true;
}

bool AddinInstalled() { return Installed; }

void ConnectAddin(const std::function<std::shared_ptr<word::Application>()>& application, std::u16string_view progId) {
    std::shared_ptr<word::Application> app;
    try {
        app = application();
    } catch (...) {
        ReportConnectionError();
        return;
    }
    AddinInstance_OnConnection(std::move(app), progId);
    OpenStoredTranslation();
}

void UninstallAddin() {
    AddinInstance_Terminate();
    if (!Installed) return;
    UninstallAutoReplace();
    CloseChooser();
    for (auto* button : {&ctrl2, &ctrl3, &ctrl4, &ctrl5, &ctrl6}) button->reset();
    WordApp.reset();
    SetServices({});
    ShowMessage = {};
    CloseDataFiles();
    Installed = false;
}

}  // namespace mTarvelo

// Versend: find verses by a word or by surah and send them into the open document.
#include "versend/form1.h"
#include "versend/verse_scan.h"
#include "word/libreoffice/libreoffice.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The verse files lie beside the program, or, installed, in the shared data folder.
#ifdef QV_SHARED_DATA_DIR
    const std::filesystem::path sharedFolder{QV_SHARED_DATA_DIR};
#else
    const std::filesystem::path sharedFolder;
#endif
    versend::Form1 window(versend::verseFolderFor(QCoreApplication::applicationDirPath().toStdString(), sharedFolder));
    // The word processor is Writer, reached over its pipe on the first send; when nothing answers
    // there, the office is asked to accept on it (started if it does not run, with a blank text
    // document to send into), while the window keeps painting.
    window.wordGlobalFactory = [&window] {
        word::libreoffice::LaunchOptions launching;
        launching.whileWaiting = [&window] { window.keepPaintingWhileWaiting(); };
        launching.newDocumentAfterLaunch = true;
        return word::libreoffice::connectOverPipe({}, std::move(launching));
    };
    window.Form_Load();
    window.show();
    const int status = app.exec();
    window.wordGlobal.reset();  // remote references go before the UNO runtime does
    return status;
}

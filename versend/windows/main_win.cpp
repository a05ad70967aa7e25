// Versend.exe: find verses by a word or by surah and send them into the document open in Word.
#include "versend/form1.h"
#include "versend/windows/display_font.h"
#include "versend/windows/word_connection.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString folder = QCoreApplication::applicationDirPath();
    versend::loadDisplayFont(folder);
    versend::Form1 window(folder.toStdWString());
    // Word is reached on the first send, and again after it was closed and started anew. While
    // a send waits for a busy Word, the window keeps painting and takes no input.
    window.wordGlobalFactory = [&window] {
        return versend::attachToWord([&window] { window.keepPaintingWhileWaiting(); });
    };
    window.Form_Load();
    window.show();
    const int status = app.exec();
    window.wordGlobal.reset();  // Word's objects go before COM does
    return status;
}

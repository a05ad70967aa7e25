// Versend: find verses by a word or by surah and send them into the open document.
#include "versend/form1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    versend::Form1 window(QCoreApplication::applicationDirPath().toStdString());
    window.Form_Load();
    window.show();
    return app.exec();
}

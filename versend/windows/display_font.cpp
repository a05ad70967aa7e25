#include "versend/windows/display_font.h"

#include <QDir>
#include <QFontDatabase>

namespace versend {

bool loadDisplayFont(const QString& folder) {
    return QFontDatabase::addApplicationFont(QDir(folder).filePath(QString::fromLatin1(kDisplayFontFile))) >= 0;
}

}  // namespace versend

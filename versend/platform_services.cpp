#include "versend/clipboard.h"
#include "versend/message_box.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>

namespace versend {

void QtMessageBox::show(const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent_);
    box.setLayoutDirection(Qt::RightToLeft);
    box.exec();
}

QString QtClipboard::text() const { return QGuiApplication::clipboard()->text(); }

void QtClipboard::setText(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

}  // namespace versend

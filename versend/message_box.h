#pragma once
// Every message box of the window goes through this interface, so that tests can record them.

#include <QString>

class QWidget;

namespace versend {

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    // A modal box with the text, the caption and an OK button.
    virtual void show(const QString& text, const QString& caption) = 0;
};

// QMessageBox, right to left, OK button only.
class QtMessageBox final : public MessageBoxService {
public:
    explicit QtMessageBox(QWidget* parent) : parent_(parent) {}
    void show(const QString& text, const QString& caption) override;

private:
    QWidget* parent_;
};

}  // namespace versend

#pragma once
// Plain-text access to the system clipboard.

#include <QString>

namespace versend {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // The clipboard's text; empty when it holds no text.
    virtual QString text() const = 0;
    // Clears the clipboard and puts the text on it as plain text.
    virtual void setText(const QString& text) = 0;
};

// Qt's clipboard, which is the system clipboard on every platform Qt runs on.
class QtClipboard final : public Clipboard {
public:
    QString text() const override;
    void setText(const QString& text) override;
};

}  // namespace versend

#pragma once
// A label (text or picture) that reports mouse clicks and button releases.

#include <QLabel>
#include <QMouseEvent>

namespace versend {

class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();
    void released(Qt::MouseButton button);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QLabel::mouseReleaseEvent(event);
        emit released(event->button());
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
    }
};

}  // namespace versend

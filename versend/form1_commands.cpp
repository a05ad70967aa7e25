// The small commands of the window: the pop-up on the current verse, the halves of 2:282,
// the sliding panels and their close buttons, and the two window shapes.
#include "versend/form1.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <cmath>

namespace versend {

void Form1::animateLoop(double start, double end, double step, int durationMs,
                        const std::function<void(double)>& apply) {
    const double span = (end - start) / step;
    if (span < 0) return;  // a loop that never runs
    const long last = static_cast<long>(std::floor(span + 1e-9));
    QElapsedTimer clock;
    clock.start();
    long shown = -1;
    for (;;) {
        long index = last;
        if (durationMs > 0 && last > 0) index = std::min(last, static_cast<long>(clock.elapsed() * last / durationMs));
        if (index != shown) {
            apply(start + static_cast<double>(index) * step);
            shown = index;
        }
        QCoreApplication::processEvents();
        if (index == last) break;
        QThread::msleep(4);
    }
}

void Form1::slidePanelIn(QFrame& panel) {
    if (std::find(slidingPanels_.begin(), slidingPanels_.end(), &panel) != slidingPanels_.end()) return;
    slidingPanels_.push_back(&panel);
    panel.raise();
    const auto move = [&panel](double top) { panel.move(panel.x(), twipsToPixels(top)); };
    if (heightTw_ == 4340) {
        animateLoop(3840, 1635, -0.5, animationMs, move);
    } else if (heightTw_ == 2620) {
        animateLoop(1755, 15, -0.5, animationMs, move);
    } else {
        move(0);
        QCoreApplication::processEvents();
    }
    slidingPanels_.erase(std::find(slidingPanels_.begin(), slidingPanels_.end(), &panel));
}

void Form1::Label2_MouseUp(Qt::MouseButton button) {
    if (button != Qt::RightButton) {
        Picture2.hide();
        return;
    }
    const QPoint corner = Label2Frame.mapTo(this, QPoint(Label2Frame.width() - Picture2.width() - 4, 8));
    Picture2.move(std::max(0, corner.x()), std::max(0, corner.y()));
    Picture2.show();
    Picture2.raise();
}

void Form1::Label12_Click() {
    if (Label2.text().isEmpty()) return;
    if (Label5.text() == QLatin1String("282")) DainCon.show();
    Text5.setPlainText(u'[' + Label2.text() + QStringLiteral("] ") + Label4.text() + u':' + Label5.text());
    clipboard->setText(Text5.toPlainText());
    Picture2.hide();
}

void Form1::Label13_Click() {
    if (Label2.text().isEmpty()) return;
    Text5.setPlainText(Label2.text());
    if (Label5.text() == QLatin1String("282")) {
        Text5.setPlainText(Dain1.text());
        // The switch offers the other half of what the box now shows.
        DainCon.setText(QStringLiteral("<"));
        DainCon.show();
    }
    Text5.show();
    Text5.raise();
    Picture2.hide();
}

void Form1::DainCon_Click() {
    if (DainCon.text() == QLatin1String("<")) {
        Text5.setPlainText(Dain2.text());
        DainCon.setText(QStringLiteral(">"));
    } else if (DainCon.text() == QLatin1String(">")) {
        Text5.setPlainText(Dain1.text());
        DainCon.setText(QStringLiteral("<"));
    }
}

void Form1::Label21_Click() {
    Picture5.show();
    slidePanelIn(Picture5);
}

void Form1::Label23_Click() {
    Text1.hide();
    Command6.show();
    Command4.click();
    Picture6.show();
    slidePanelIn(Picture6);
    Combo1.setFocus();
}

void Form1::Label24_Click() {
    Picture3.show();
    slidePanelIn(Picture3);
}

void Form1::Command7_Click() { Picture5.hide(); }

void Form1::Command8_Click() {
    Command6.hide();
    Text1.clear();
    Text1.show();
    Picture6.hide();
}

void Form1::Command9_Click() { Picture3.hide(); }

void Form1::Picture3_Click() { Picture3.move(Picture3.x(), twipsToPixels(3825)); }

void Form1::Image1_Click() {
    if (widthTw_ == 4665) {
        Text1.hide();
        Command6.show();
        Command4.click();
        setWindowWidth(7965);
    } else if (widthTw_ == 7965) {
        Command6.hide();
        Text1.clear();
        Text1.show();
        setWindowWidth(4665);
    }
}

void Form1::Image4_Click() {
    if (shapeSwitching_) return;  // a click during the switch does not start another
    shapeSwitching_ = true;
    Picture3.hide();
    Picture5.hide();
    Picture6.hide();
    // The three moving loops share the animation time.
    const int part = animationMs / 3;
    const auto width = [this](double v) { setWindowWidth(v); };
    const auto picture7Left = [this](double v) { Picture7.move(twipsToPixels(v), Picture7.y()); };
    const auto picture8Top = [this](double v) { Picture8.move(Picture8.x(), twipsToPixels(v)); };
    if (widthTw_ < 4765) {
        Picture9.show();
        Label8.show();
        Image4.setPixmap(Image5.pixmap());
        animateLoop(4665, 9210, 100, part, width);
        animateLoop(30, 4560, 10, part, picture7Left);
        animateLoop(1740, 15, -10, part, picture8Top);
        setWindowHeight(2620);
    } else if (widthTw_ > 7965) {
        animateLoop(15, 1740, 10, part, picture8Top);
        setWindowHeight(4340);
        animateLoop(4560, 30, -1, part, picture7Left);
        Image4.setPixmap(Image6.pixmap());
        animateLoop(9210, 4565, -190, part, width);
        Picture9.hide();
        Label8.hide();
    }
    shapeSwitching_ = false;
}

void Form1::Command2_Click() {
    // Selecting a line of an empty list would fail; there is nothing to select then.
    if (List1.count() > 0) List1.setCurrentRow(0);
    if (List2.count() > 0) selectList2Row(0);
}

void Form1::Command3_Click() {
    if (isShown(Image2)) {
        Image1.setPixmap(Image2.pixmap());
        Image2.hide();
        Image3.show();
    } else if (isShown(Image3)) {
        Image1.setPixmap(Image3.pixmap());
        Image3.hide();
        Image2.show();
    }
}

}  // namespace versend

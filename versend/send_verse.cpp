// Sending the current verse, or the part of it marked in the part box, into the document.
#include "versend/form1.h"
#include "versend/send.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QTextCursor>

#include <optional>

namespace versend {

double leadingValue(const QString& text) {
    QString number;
    bool point = false;
    for (const QChar ch : text) {
        if (ch == u' ' || ch == u'\t') continue;
        if (ch >= u'0' && ch <= u'9') {
            number += ch;
        } else if (ch == u'.' && !point) {
            point = true;
            number += ch;
        } else if ((ch == u'-' || ch == u'+') && number.isEmpty()) {
            number += ch;
        } else {
            break;
        }
    }
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok ? value : 0.0;
}

namespace {

// The window shows that it is busy while a send runs: the busy picture and a wait cursor. A
// send that has to start the word processor first, or that waits for a busy Word, takes seconds,
// during which the window keeps painting (Form1::keepPaintingWhileWaiting). Keys and clicks that
// reach the program meanwhile are dropped, not kept for later: an Enter pressed again while Word
// was busy would otherwise send the same verse a second time once the first send is through.
class BusyWhileSending : public QObject {
public:
    explicit BusyWhileSending(Form1& form) : form_(form), idle_(form.Image1.pixmap()) {
        form_.Image1.setPixmap(form_.Image2.pixmap());
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~BusyWhileSending() override {
        // What was typed or clicked during the send is still queued: let it through the filter.
        QCoreApplication::processEvents();
        QCoreApplication::instance()->removeEventFilter(this);
        QGuiApplication::restoreOverrideCursor();
        form_.Image1.setPixmap(idle_);
    }
    BusyWhileSending(const BusyWhileSending&) = delete;
    BusyWhileSending& operator=(const BusyWhileSending&) = delete;

protected:
    bool eventFilter(QObject*, QEvent* event) override { return isUserInput(event->type()); }

private:
    static bool isUserInput(QEvent::Type type) {
        switch (type) {
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::ShortcutOverride:
            case QEvent::InputMethod:
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::Wheel: return true;
            default: return false;
        }
    }

    Form1& form_;
    QPixmap idle_;
};

}  // namespace

bool sendPieces(Form1& form, const SendPieces& pieces) {
    std::optional<word::Error> failure;
    {
        const BusyWhileSending busy(form);
        try {
            if (!form.wordGlobal) {
                if (!form.wordGlobalFactory) throw word::Error("no word processor");
                form.wordGlobal = form.wordGlobalFactory();
            }
            typePieces(*form.wordGlobal, pieces);
        } catch (const word::Error& e) {
            failure = e;
        }
    }
    if (!failure) return true;
    switch (failure->reason()) {
        case word::Error::Reason::Busy: form.messageBox->show(kWordBusy, kErrorCaption); break;
        case word::Error::Reason::NotEditable: form.messageBox->show(kDocumentNotEditable, kErrorCaption); break;
        case word::Error::Reason::Other: form.messageBox->show(kWordNotRunning, kWordNotRunningCaption); break;
    }
    return false;
}

void typePieces(word::Global& word, const SendPieces& pieces) {
    const auto u16 = [](const QString& text) {
        return std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), text.size());
    };
    auto selection = word.ActiveDocument()->ActiveWindow()->Selection();
    selection->Font()->SetSizeBi(static_cast<float>(pieces.verseSize));
    selection->TypeText(u16(pieces.opening));
    selection->BoldRun();
    selection->TypeText(u16(pieces.body));
    selection->BoldRun();
    selection->TypeText(u16(pieces.closing));
    selection->Font()->SetSizeBi(static_cast<float>(pieces.citationSize));
    selection->TypeText(u16(pieces.citation));
    selection->Font()->SetSizeBi(static_cast<float>(pieces.verseSize));
    selection->TypeText(u" ");
}

namespace {

const QString kPartEnd = QStringLiteral("...]الآية. ");

// The markers of a part of an ordinary verse: s is the selection start, e its end, L the length.
std::pair<QString, QString> partMarkers(int s, int e, int L) {
    if (s == 0) return {QStringLiteral("["), kPartEnd};
    if (e == L) return {QStringLiteral("[..."), QStringLiteral("]. ")};
    return {QStringLiteral("[..."), kPartEnd};
}

// The markers of a part of one half of verse 2:282.
std::pair<QString, QString> halfMarkers(bool secondHalf, int s, int e, int L) {
    if (!secondHalf) return {s == 0 ? QStringLiteral("[") : QStringLiteral("[..."), QStringLiteral("...] ")};
    return {QStringLiteral("[..."), e == L ? QStringLiteral("] ") : QStringLiteral("...] ")};
}

}  // namespace

void Form1::cmdcreate_Click() {
    const double verseSize = leadingValue(ftx1.text());
    const double citationSize = leadingValue(ftx2.text());

    const QTextCursor marked = Text5.textCursor();
    const int start = marked.selectionStart();
    const int length = marked.selectionEnd() - start;
    if (length == 0) Text5.setPlainText(QString());

    if (Label2.text() == QLatin1String("Not Found") || Label2.text().isEmpty()) return;

    // Only a part box that is open holds a part: a closed one may still hold what it served
    // for (a copy), which is no part of the current verse.
    const QString partText = Text5.toPlainText();
    const bool partMode = isShown(Text5) && !partText.isEmpty();
    const bool verse282 = Label5.text() == QLatin1String("282");

    SendPieces pieces{16,
                      12,
                      QStringLiteral("["),
                      QString(),
                      QStringLiteral("] "),
                      u'{' + Label4.text() + u':' + Label5.text() + u'}'};
    if (!partMode) {
        if (verse282) {
            pieces.body = Dain1.text() + Dain2.text();
        } else {
            pieces.verseSize = verseSize;
            pieces.citationSize = citationSize;
            pieces.body = Label2.text();
        }
    } else {
        const int end = start + length;
        const int total = static_cast<int>(partText.size());
        pieces.body = partText.mid(start, length);
        std::tie(pieces.opening, pieces.closing) =
            verse282 ? halfMarkers(partText == Dain2.text(), start, end, total) : partMarkers(start, end, total);
    }

    if (!sendPieces(*this, pieces)) return;

    if (partMode) {
        Text5.hide();
        Text5.setPlainText(QString());
        DainCon.hide();
    }
    showNotice(kSentNotice, 500);
    if (checkValue(Check1) == 1) endAfterSend();
}

}  // namespace versend

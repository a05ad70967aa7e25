#pragma once
// Pieces that the two send commands share: typing the ten pieces of a send through the word
// processor.

#include "versend/texts.h"
#include "word/word.h"

#include <QString>

namespace versend {

class Form1;

// The failure message of every send, with its caption.
inline const QString kWordNotRunning = QStringLiteral("برنامج الوورد لا يعمل");
inline const QString kWordNotRunningCaption = QStringLiteral("Close Program");
inline const QString kSentNotice = QStringLiteral("تم الارسال ");

// What one send types: the verse size, the opening marker, the body (bold toggled), the closing
// marker, the citation size, the citation, then the verse size again and a blank.
struct SendPieces {
    double verseSize;
    double citationSize;
    QString opening;
    QString body;
    QString closing;
    QString citation;
};

// Types the pieces in order through one selection object; throws word::Error on a failure, and
// what was typed before it stays.
void typePieces(word::Global& word, const SendPieces& pieces);

// Types the pieces through the window's word processor, connecting on first use. A failure shows
// its message and gives false; what was typed before it stays. A busy word processor and a
// document that cannot be edited have messages of their own; any other failure shows the send
// failure message.
bool sendPieces(Form1& form, const SendPieces& pieces);

}  // namespace versend

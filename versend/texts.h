#pragma once
// Small helpers that every part of the window shares.

#include <QString>

#include <string_view>

namespace versend {

// The caption of the window's validation and error messages.
inline const QString kErrorCaption = QStringLiteral("خطأ");

// The sign beside the verse count when the rows come from the forgiving search (the query as
// written found nothing), and the sign's tool tip.
inline const QString kFoldedSearchSign = QStringLiteral("بحث تقريبي");
inline const QString kFoldedSearchHint = QStringLiteral(
    "لم توجد الكلمة كما كُتبت، فهذه نتائج البحث مع تجاهل الهمزات والتشكيل والتطويل، وعدّ ى وي حرفاً واحداً، وة وه حرفاً "
    "واحداً");
// A send that Word kept refusing (a dialog of it is open): close the dialog and send again.
inline const QString kWordBusy =
    QStringLiteral("برنامج الوورد مشغول: أغلق النافذة المفتوحة فيه (مثل مربع حوار أو رسالة) ثم أعد الإرسال");
// The document open in the word processor refuses changes (read-only, Protected View, restricted).
inline const QString kDocumentNotEditable = QStringLiteral(
    "لا يمكن تعديل المستند المفتوح في الوورد: إنه للقراءة فقط أو محمي من التعديل. افتحه للتعديل ثم أعد الإرسال");

inline QString fromU16(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// The number that a text begins with: blanks anywhere are skipped, a sign may lead, one decimal
// point is allowed, and reading stops at the first other character. No number gives 0.
double leadingValue(const QString& text);

}  // namespace versend

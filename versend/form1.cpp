#include "versend/form1.h"

#include "versend/code_page.h"
#include "versend/pictures.h"
#include "versend/result_rows.h"
#include "versend/settings_file.h"
#include "versend/surah_names.h"
#include "versend/texts.h"
#include "versend/verse_scan.h"

#include "quran/quran_text.h"
#include "quran_data/dain_texts.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QTextDocument>
#include <QTextOption>
#include <QTimer>

#include <algorithm>
#include <cstdlib>

namespace versend {
namespace {

const QString kChooserPrompt = QStringLiteral("اختر اسم السورة");

bool isEnter(const QKeyEvent& key) {
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter || key.text() == QLatin1String("\r");
}

// A key that produces a character (the keys that reach a key-press handler).
bool isCharacterKey(const QKeyEvent& key) { return isEnter(key) || !key.text().isEmpty(); }

void placeTw(QWidget& w, double left, double top, double width, double height) {
    w.setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

void setTopTw(QWidget& w, double top) { w.move(w.x(), twipsToPixels(top)); }

void setLeftTw(QWidget& w, double left) { w.move(twipsToPixels(left), w.y()); }

void styleList(QListView& list) {
    list.setUniformItemSizes(true);
    list.setLayoutDirection(Qt::RightToLeft);
    list.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list.setTextElideMode(Qt::ElideLeft);
}

QString verseFontFamily() {
    const QStringList families = QFontDatabase::families();
    if (families.contains(QStringLiteral("Al-QuranAlKareem"))) return QStringLiteral("Al-QuranAlKareem");
    return QStringLiteral("Amiri Quran");
}

}  // namespace

bool isShown(const QWidget& control) {
    return !control.testAttribute(Qt::WA_WState_ExplicitShowHide) || !control.isHidden();
}

int checkValue(const QCheckBox& box) {
    switch (box.checkState()) {
        case Qt::Checked: return 1;
        case Qt::PartiallyChecked: return 2;
        default: return 0;
    }
}

bool setCheckValue(QCheckBox& box, int value) {
    switch (value) {
        case 0: box.setCheckState(Qt::Unchecked); return true;
        case 1: box.setCheckState(Qt::Checked); return true;
        case 2: box.setCheckState(Qt::PartiallyChecked); return true;
        default: return false;
    }
}

Form1::Form1(std::filesystem::path folder, QWidget* parent)
    : QWidget(parent),
      ownMessageBox_(std::make_unique<QtMessageBox>(this)),
      ownClipboard_(std::make_unique<QtClipboard>()),
      ownKeyboardLayout_(makePlatformKeyboardLayout()) {
    messageBox = ownMessageBox_.get();
    clipboard = ownClipboard_.get();
    keyboardLayout = ownKeyboardLayout_.get();
    verseFolder = std::move(folder);
    endProgram = [this] {
        wordGlobal.reset();  // release the word processor before the process goes
        std::exit(0);
    };
    buildControls();
    connectHandlers();
}

Form1::~Form1() = default;

// ---------------------------------------------------------------------------------------------
// Controls

void Form1::buildControls() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Versend - البحث عن الآيات وإرسالها"));
    setLayoutDirection(Qt::RightToLeft);
    setFont(QFont(QStringLiteral("DejaVu Sans"), 9));

    // Every control answers to its own name.
    const std::pair<QObject*, const char*> names[] = {
        {&Picture7, "Picture7"},   {&Picture8, "Picture8"},
        {&Picture9, "Picture9"},   {&Text1, "Text1"},
        {&Command1, "Command1"},   {&Image1, "Image1"},
        {&List1, "List1"},         {&Label9, "Label9"},
        {&Label11, "Label11"},     {&Label2Frame, "Label2Frame"},
        {&Label2, "Label2"},       {&Text5, "Text5"},
        {&Label4, "Label4"},       {&Label5, "Label5"},
        {&cmdcreate, "cmdcreate"}, {&DainCon, "DainCon"},
        {&Command2, "Command2"},   {&Label21, "Label21"},
        {&Label23, "Label23"},     {&Label24, "Label24"},
        {&Image4, "Image4"},       {&Label8, "Label8"},
        {&Label1, "Label1"},       {&Label3, "Label3"},
        {&Dain1, "Dain1"},         {&Dain2, "Dain2"},
        {&Image2, "Image2"},       {&Image3, "Image3"},
        {&Image5, "Image5"},       {&Image6, "Image6"},
        {&Command3, "Command3"},   {&Command4, "Command4"},
        {&Command5, "Command5"},   {&Picture6, "Picture6"},
        {&Label16, "Label16"},     {&Combo1, "Combo1"},
        {&Label17, "Label17"},     {&Text3, "Text3"},
        {&Label18, "Label18"},     {&Text4, "Text4"},
        {&Command6, "Command6"},   {&Command8, "Command8"},
        {&Picture5, "Picture5"},   {&Label19, "Label19"},
        {&ftx1, "ftx1"},           {&Label20, "Label20"},
        {&ftx2, "ftx2"},           {&Check2, "Check2"},
        {&Check1, "Check1"},       {&Check3, "Check3"},
        {&Check4, "Check4"},       {&load, "load"},
        {&save, "save"},           {&SaveList, "SaveList"},
        {&Command7, "Command7"},   {&Picture3, "Picture3"},
        {&Label14, "Label14"},     {&Label15, "Label15"},
        {&Command9, "Command9"},   {&Picture2, "Picture2"},
        {&Label12, "Label12"},     {&Label13, "Label13"},
        {&Picture1, "Picture1"},   {&Label10, "Label10"},
        {&Timer1, "Timer1"},       {&FoldedSign, "FoldedSign"},
    };
    for (const auto& [object, name] : names) object->setObjectName(QString::fromLatin1(name));

    // The wide shape until the settings say otherwise.
    widthTw_ = 9135;
    heightTw_ = 2620;
    setFixedSize(twipsToPixels(widthTw_), twipsToPixels(heightTw_));

    buildSearchColumn();
    buildVerseColumn();
    buildStateHolders();
    buildRangePanel();
    buildOptionsPanel();
    buildContactPanel();
    buildPopUpAndNotice();
    Timer1.setInterval(0);
}

// The search column: query box, search button, status picture, result list and its count.
void Form1::buildSearchColumn() {
    placeTw(Picture7, 4560, 15, 4500, 1710);
    Picture7.setFrameShape(QFrame::StyledPanel);
    Text1.setGeometry(84, 5, 212, 26);
    Text1.setText(QStringLiteral("الله"));
    Text1.setAlignment(Qt::AlignLeading | Qt::AlignVCenter);
    Text1.setToolTip(QStringLiteral("اكتب كلمة ثم اضغط Enter"));
    Command1.setGeometry(30, 5, 50, 26);
    Command1.setText(QStringLiteral("بحث"));
    Image1.setGeometry(5, 8, 20, 20);
    Image1.setToolTip(QStringLiteral("انقر لتبديل وضع الارسال"));
    styleList(List1);
    // A whole number of rows, none cut through, in the room between the query box and the count.
    const int frame = 2 * List1.frameWidth();
    const int rows = std::max(1, (52 - frame + List1.rowHeight() / 2) / List1.rowHeight());
    List1.setGeometry(4, 35, 292, rows * List1.rowHeight() + frame);
    Label11.setGeometry(196, 90, 100, 18);
    Label11.setText(QStringLiteral("عدد الآيات:"));
    Label11.setAlignment(Qt::AlignLeading | Qt::AlignVCenter);
    Label9.setGeometry(130, 90, 64, 18);
    Label9.setAlignment(Qt::AlignLeading | Qt::AlignVCenter);
    Label9.setText(QStringLiteral("0"));
    // A small tag that follows the count (showFoldedSign places it).
    FoldedSign.setText(kFoldedSearchSign);
    FoldedSign.setToolTip(kFoldedSearchHint);
    FoldedSign.setAlignment(Qt::AlignCenter);
    FoldedSign.setContentsMargins(4, 0, 4, 0);
    FoldedSign.setStyleSheet(
        QStringLiteral("#FoldedSign { color: #6b4a00; background: #fff3c4; border: 1px solid #d9b44a; border-radius: "
                       "3px; }"));
    FoldedSign.hide();
}

void Form1::showFoldedSign(bool shown) {
    if (!shown) {
        FoldedSign.hide();
        return;
    }
    // Left of the count, whose digits (text without a direction of its own) stand at its left.
    FoldedSign.ensurePolished();
    const int width = FoldedSign.sizeHint().width();
    FoldedSign.setGeometry(std::max(0, Label9.x() - 4 - width), Label9.y(), width, Label9.height());
    FoldedSign.show();
}

// The verse column: the current verse, its part box, citation, send button and the links.
void Form1::buildVerseColumn() {
    placeTw(Picture8, 30, 15, 4500, 2550);
    Picture8.setFrameShape(QFrame::StyledPanel);
    Label2Frame.setGeometry(4, 4, 292, 104);
    Label2Frame.setWidgetResizable(true);
    Label2Frame.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Label2Frame.setLayoutDirection(Qt::RightToLeft);
    Label2Frame.setWidget(&Label2);
    QFont verseFont(verseFontFamily(), 15);
    verseFont.setBold(true);
    Label2.setFont(verseFont);
    Label2.setWordWrap(true);
    Label2.setAlignment(Qt::AlignLeading | Qt::AlignTop);
    Label2.setTextFormat(Qt::PlainText);
    Label2.setContentsMargins(4, 2, 4, 2);
    Label2.setToolTip(QStringLiteral("انقر بالزر الأيمن للنسخ أو لارسال جزء من الآية"));
    Text5.setFont(verseFont);
    Text5.setLayoutDirection(Qt::RightToLeft);
    // The verse in the part box stands where it stands in Label2, from the right edge.
    QTextOption partOption = Text5.document()->defaultTextOption();
    partOption.setTextDirection(Qt::RightToLeft);
    partOption.setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
    Text5.document()->setDefaultTextOption(partOption);
    Text5.hide();
    Label4.setGeometry(186, 112, 110, 24);
    Label4.setAlignment(Qt::AlignLeading | Qt::AlignVCenter);
    Label5.setGeometry(146, 112, 38, 24);
    Label5.setAlignment(Qt::AlignLeading | Qt::AlignVCenter);
    Command2.setGeometry(118, 112, 24, 24);
    Command2.setText(QStringLiteral("↑"));
    Command2.setToolTip(QStringLiteral("الآية الأولى في القائمة"));
    DainCon.setGeometry(90, 112, 24, 24);
    DainCon.setText(QStringLiteral("<"));
    DainCon.setToolTip(QStringLiteral("النصف الآخر من الآية"));
    DainCon.hide();
    cmdcreate.setGeometry(4, 111, 82, 26);
    cmdcreate.setText(QStringLiteral("ارسال"));
    cmdcreate.setToolTip(QStringLiteral("ارسال الآية إلى المستند"));
    for (ClickLabel* link : {&Label21, &Label23, &Label24}) {
        link->setCursor(Qt::PointingHandCursor);
        link->setAlignment(Qt::AlignCenter);
        link->setStyleSheet(QStringLiteral("color: #1a4f8b; text-decoration: underline;"));
    }
    Label21.setGeometry(236, 142, 60, 22);
    Label21.setText(QStringLiteral("خيارات"));
    Label23.setGeometry(110, 142, 124, 22);
    Label23.setText(QStringLiteral("ارسال أكثر من آية"));
    Label24.setGeometry(34, 142, 74, 22);
    Label24.setText(QStringLiteral("التواصل"));
    Image4.setGeometry(6, 142, 22, 22);
    Image4.setCursor(Qt::PointingHandCursor);
    Image4.setToolTip(QStringLiteral("تبديل شكل النافذة"));

    // The hint beside the list in the wide shape.
    placeTw(Picture9, 4560, 1770, 4500, 780);
    Label8.setGeometry(4, 2, 292, 48);
    Label8.setWordWrap(true);
    Label8.setAlignment(Qt::AlignLeading | Qt::AlignVCenter);
    Label8.setText(QStringLiteral(
        "اكتب كلمة واضغط Enter أو اختر سورة، ثم انقر على الآية بالزر الأيمن لنسخها أو لارسال جزء منها."));
    Label8.setStyleSheet(QStringLiteral("color: #555;"));
}

// State holders that are never seen.
void Form1::buildStateHolders() {
    styleList(SaveList);
    SaveList.hide();
    Label1.hide();
    Label3.hide();
    Image2.setPixmap(busyPicture());
    Image3.setPixmap(idlePicture());
    Image5.setPixmap(narrowShapePicture());
    Image6.setPixmap(wideShapePicture());
    Image1.setPixmap(Image3.pixmap());
    Image4.setPixmap(Image5.pixmap());
    // Outside the visible area: the two halves of 2:282, the picture store and the buttons
    // that operations press from code.
    const int away = 1000;
    Dain1.setGeometry(0, away, 100, 20);
    Dain2.setGeometry(0, away + 20, 100, 20);
    Dain1.setText(fromU16(quran_data::Dain1));
    Dain2.setText(fromU16(quran_data::Dain2));
    Image2.setGeometry(0, away + 40, 20, 20);
    Image3.setGeometry(20, away + 40, 20, 20);
    Image3.hide();
    Image5.setGeometry(40, away + 40, 22, 22);
    Image6.setGeometry(60, away + 40, 22, 22);
    Command3.setGeometry(0, away + 60, 40, 20);
    Command4.setGeometry(40, away + 60, 40, 20);
    Command5.setGeometry(80, away + 60, 40, 20);
}

// The surah and range panel; the three sliding panels share their frame.
void Form1::buildRangePanel() {
    for (QFrame* panel : {&Picture6, &Picture5, &Picture3}) {
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Raised);
        panel->setAutoFillBackground(true);
        panel->hide();
    }
    placeTw(Picture6, 30, 1635, 4485, 2580);
    Command8.setGeometry(5, 5, 22, 22);
    Label16.setGeometry(32, 5, 262, 22);
    Label16.setText(QStringLiteral("إرسال أكثر من آية"));
    Label16.setAlignment(Qt::AlignLeading | Qt::AlignVCenter);
    QFont titleFont = font();
    titleFont.setBold(true);
    Label16.setFont(titleFont);
    Combo1.setGeometry(5, 34, 289, 26);
    Combo1.setMaxVisibleItems(15);
    // The drop-down list as a list of 15 rows that reads right to left like the window (the
    // style's own menu-like list would show every name, aligned to the left).
    Combo1.setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    Combo1.view()->window()->setLayoutDirection(Qt::RightToLeft);
    Combo1.view()->setLayoutDirection(Qt::RightToLeft);
    Label17.setGeometry(254, 68, 40, 24);
    Label17.setText(QStringLiteral("من"));
    Label17.setAlignment(Qt::AlignLeading | Qt::AlignVCenter);
    Text3.setGeometry(172, 68, 78, 24);
    Label18.setGeometry(122, 68, 44, 24);
    Label18.setText(QStringLiteral("إلى"));
    Label18.setAlignment(Qt::AlignLeading | Qt::AlignVCenter);
    Text4.setGeometry(40, 68, 78, 24);
    Command6.setGeometry(5, 104, 289, 28);
    Command6.setText(QStringLiteral("ارسال الآيات"));
    Command6.hide();
}

void Form1::buildOptionsPanel() {
    placeTw(Picture5, 30, 1635, 4485, 2580);
    Command7.setGeometry(5, 5, 22, 22);
    Label19.setGeometry(110, 8, 184, 22);
    Label19.setText(QStringLiteral("حجم خط الآية"));
    Label19.setAlignment(Qt::AlignLeading | Qt::AlignVCenter);
    ftx1.setGeometry(60, 8, 46, 22);
    Label20.setGeometry(110, 34, 184, 22);
    Label20.setText(QStringLiteral("حجم خط اسم السورة والرقم"));
    Label20.setAlignment(Qt::AlignLeading | Qt::AlignVCenter);
    ftx2.setGeometry(60, 34, 46, 22);
    Check2.setGeometry(150, 62, 144, 22);
    Check2.setText(QStringLiteral("ارسال مباشر "));
    Check1.setGeometry(150, 86, 144, 22);
    Check1.setText(QStringLiteral("اغلاق بعد الارسال"));
    Check3.setGeometry(5, 62, 140, 22);
    Check3.setText(QStringLiteral("إعادة التشغيل"));
    Check4.setGeometry(5, 86, 140, 22);
    Check4.setText(QStringLiteral("الشكل العرضي"));
    save.setGeometry(5, 118, 289, 28);
    save.setText(QStringLiteral("حفظ الإعدادات"));
    load.setText(QStringLiteral("load"));
    load.hide();
}

void Form1::buildContactPanel() {
    QFont titleFont = font();
    titleFont.setBold(true);
    placeTw(Picture3, 30, 1635, 4485, 2580);
    Command9.setGeometry(5, 5, 22, 22);
    Label14.setGeometry(32, 5, 262, 22);
    Label14.setText(QStringLiteral("التواصل"));
    Label14.setAlignment(Qt::AlignLeading | Qt::AlignVCenter);
    Label14.setFont(titleFont);
    Label15.setGeometry(8, 32, 284, 130);
    Label15.setWordWrap(true);
    Label15.setAlignment(Qt::AlignLeading | Qt::AlignTop);
    Label15.setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Each paragraph begins with an Arabic word, so that it reads right to left as a whole.
    Label15.setText(
        QStringLiteral("برنامج Versend للبحث عن آيات القرآن الكريم بكلمة أو بالسورة، وإرسالها مع تخريجها إلى "
                       "المستند المفتوح في برنامج معالجة النصوص.\n\n"
                       "المشروع: Quran verses for the word processor\n"
                       "للإبلاغ عن خطأ أو لاقتراح تحسين: افتح بلاغاً (Issue) في مستودع المشروع، واذكر الكلمة "
                       "أو الآية التي ظهر عندها الخطأ ونص رسالته إن وجدت."));
    for (QPushButton* close : {&Command7, &Command8, &Command9}) {
        close->setText(QStringLiteral("x"));
        close->setToolTip(QStringLiteral("اغلاق"));
    }
}

// The pop-up on the current verse and the notice panel.
void Form1::buildPopUpAndNotice() {
    Picture2.setFrameShape(QFrame::Box);
    Picture2.setAutoFillBackground(true);
    Picture2.setGeometry(0, 0, 150, 56);
    Label12.setGeometry(2, 2, 146, 25);
    Label12.setText(QStringLiteral("نسخ الآية مع تخريجها"));
    Label13.setGeometry(2, 28, 146, 25);
    Label13.setText(QStringLiteral("ارسال جزء من الآية"));
    for (ClickLabel* item : {&Label12, &Label13}) {
        item->setAlignment(Qt::AlignLeading | Qt::AlignVCenter);
        item->setContentsMargins(6, 0, 6, 0);
        item->setCursor(Qt::PointingHandCursor);
    }
    Picture2.hide();

    // --- notice panel ------------------------------------------------------------------------
    Picture1.setFrameShape(QFrame::Box);
    Picture1.setAutoFillBackground(true);
    Picture1.setStyleSheet(QStringLiteral("#Picture1 { background: #fff8d6; border: 1px solid #c9a400; }"));
    placeTw(Picture1, 1560, 690, 2850, 600);
    Label10.setGeometry(2, 2, Picture1.width() - 4, Picture1.height() - 4);
    Label10.setAlignment(Qt::AlignCenter);
    Label10.setWordWrap(true);
    QFont noticeFont = font();
    noticeFont.setPointSize(11);
    noticeFont.setBold(true);
    Label10.setFont(noticeFont);
    Picture1.hide();
}

void Form1::connectHandlers() {
    connect(&Command1, &QPushButton::clicked, this, [this] { wordSearch(); });
    connect(&cmdcreate, &QPushButton::clicked, this, [this] { cmdcreate_Click(); });
    connect(&Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(&Command4, &QPushButton::clicked, this, [this] { fillSurahChooser(); });
    connect(&Command5, &QPushButton::clicked, this, [this] { surahListing(); });
    connect(&load, &QPushButton::clicked, this, [this] { applySettings(); });
    connect(&save, &QPushButton::clicked, this, [this] { saveSettings(); });
    connect(&List1, &ResultList::currentRowChanged, this, [this](int row) {
        if (row >= 0) List1_Click();
    });
    connect(&List1, &ResultList::rowClicked, this, [this] { List1_Click(); });
    connect(&Combo1, &QComboBox::activated, this, [this](int index) { chooseSurah(index); });
    connect(&Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    connect(&Label2, &ClickLabel::released, this, [this](Qt::MouseButton b) { Label2_MouseUp(b); });
    connect(&Label12, &ClickLabel::clicked, this, [this] { Label12_Click(); });
    connect(&Label13, &ClickLabel::clicked, this, [this] { Label13_Click(); });
    connect(&DainCon, &QPushButton::clicked, this, [this] { DainCon_Click(); });
    connect(&Label21, &ClickLabel::clicked, this, [this] { Label21_Click(); });
    connect(&Label23, &ClickLabel::clicked, this, [this] { Label23_Click(); });
    connect(&Label24, &ClickLabel::clicked, this, [this] { Label24_Click(); });
    connect(&Command7, &QPushButton::clicked, this, [this] { Command7_Click(); });
    connect(&Command8, &QPushButton::clicked, this, [this] { Command8_Click(); });
    connect(&Command9, &QPushButton::clicked, this, [this] { Command9_Click(); });
    connect(&Label10, &ClickLabel::clicked, this, [this] { Label10_Click(); });
    connect(&Image1, &ClickLabel::clicked, this, [this] { Image1_Click(); });
    connect(&Image4, &ClickLabel::clicked, this, [this] { Image4_Click(); });
    connect(&Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(&Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    for (QObject* watched : std::initializer_list<QObject*>{&Text1, &List1, &Combo1, &Text3, &Text4, &Picture3})
        watched->installEventFilter(this);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto& key = static_cast<QKeyEvent&>(*event);
        if (isCharacterKey(key)) {
            if (watched == &Text1) Text1_KeyPress(key);
            else if (watched == &List1) List1_KeyPress(key);
            else if (watched == &Combo1) Combo1_KeyPress(key);
            else if (watched == &Text3) Text3_KeyPress(key);
            else if (watched == &Text4) Text4_KeyPress(key);
        }
    } else if ((event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) && watched == &Text1) {
        // The window going to the back (another program, a message box, a pop-up) and coming
        // to the front again takes the focus from the box and gives it back: that is no move
        // into the box, and a word typed but not yet searched stays.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        const bool windowSwitch = reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
        if (event->type() == QEvent::FocusOut) {
            text1KeptOverWindowSwitch_ = windowSwitch;
        } else {
            if (!(windowSwitch && text1KeptOverWindowSwitch_)) Text1_GotFocus();
            text1KeptOverWindowSwitch_ = false;
        }
    } else if (event->type() == QEvent::MouseButtonRelease && watched == &Picture3) {
        Picture3_Click();
    } else if (event->type() == QEvent::MouseButtonRelease && watched == &Text1) {
        // A click into a box that holds only its blank (the focus may have been there already)
        // leaves the cursor in front of the blank, where the word is typed.
        if (Text1.text() == QLatin1String(" ") && !Text1.hasSelectedText()) Text1.setCursorPosition(0);
    }
    return QWidget::eventFilter(watched, event);  // the key goes on to the control
}

void Form1::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

// ---------------------------------------------------------------------------------------------
// Start-up and unload

void Form1::applyLayoutConstants() {
    setTopTw(Picture1, 690);
    setLeftTw(Picture1, 1560);
    setLeftTw(Picture3, 30);
    setLeftTw(Picture5, 30);
    setLeftTw(Picture6, 30);
    setTopTw(Picture7, 15);
    Picture5.resize(twipsToPixels(4485), Picture5.height());
    Text5.setGeometry(Label2Frame.geometry());
}

void Form1::Form_Load() {
    Text1.setText(QStringLiteral(" "));
    applyLayoutConstants();
    Text1.setText(u' ' + clipboard->text() + u' ');
    if (Text1.text().size() > 500) Text1.clear();
    load.click();
    if (!Text1.text().isEmpty()) wordSearch();
}

void Form1::Form_Unload() { keyboardLayout->restoreDefault(); }

void Form1::endAfterSend() {
    // The keyboard layout is the whole desktop's on some systems: give the user's back first.
    keyboardLayout->restoreDefault();
    endProgram();
}

void Form1::keepPaintingWhileWaiting() {
    // A direct send at start-up runs before the window is first shown: a send that waits shows it.
    if (!isVisible()) show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// ---------------------------------------------------------------------------------------------
// Window geometry

double Form1::windowLeft() const { return twipsToPixels(leftTw_) == x() ? leftTw_ : x() * 15.0; }

double Form1::windowTop() const { return twipsToPixels(topTw_) == y() ? topTw_ : y() * 15.0; }

void Form1::setWindowLeft(double twips) {
    leftTw_ = twips;
    move(twipsToPixels(twips), y());
}

void Form1::setWindowTop(double twips) {
    topTw_ = twips;
    move(x(), twipsToPixels(twips));
}

void Form1::setWindowWidth(double twips) {
    widthTw_ = twips;
    setFixedWidth(std::max(1, twipsToPixels(twips)));
}

void Form1::setWindowHeight(double twips) {
    heightTw_ = twips;
    setFixedHeight(std::max(1, twipsToPixels(twips)));
}

// ---------------------------------------------------------------------------------------------
// Result table and the current verse

void Form1::showBusy() { Image1.setPixmap(Image2.pixmap()); }

void Form1::showIdle() { Image1.setPixmap(Image3.pixmap()); }

int Form1::rowSurahNumber(int row) const { return static_cast<int>(leadingValue(List3.text(row))); }

QString Form1::rowVerseNumber(int row) const {
    const QString text = List1.text(row);
    QString number;
    for (int n = 1; n <= 3; ++n) {
        const QString tail = text.right(n);
        if (!tail.isEmpty() && tail[0] >= u'0' && tail[0] <= u'9') number = tail;
    }
    return number;
}

QString Form1::rowVerseText(int row) const { return List2.text(row); }

void Form1::selectRow(int row) {
    {
        const QSignalBlocker block(List1);
        List1.setCurrentRow(row);
    }
    List1_Click();
}

void Form1::selectList2Row(int row) {
    List2.setCurrentRow(row);
    List2_Click();
}

void Form1::closePartBox() {
    Text5.hide();
    if (!Text5.document()->isEmpty()) Text5.setPlainText(QString());
}

void Form1::List1_Click() {
    closePartBox();
    if (isShown(Command6)) return;  // range mode: the current verse stays
    const int row = List1.currentRow();
    if (row < 0) return;
    selectList2Row(row);
    List3.setCurrentRow(row);
    currentSurah_ = rowSurahNumber(row);
    Label4.setText(fromU16(citationName(currentSurah_)));
    const QString number = rowVerseNumber(row);
    if (!number.isEmpty()) Label5.setText(number);
}

void Form1::List2_Click() {
    if (List2.currentRow() >= 0) Label2.setText(List2.currentText());
}

// ---------------------------------------------------------------------------------------------
// Verse scans

void Form1::clearResults() {
    resultTable.clear();
    List1.resetRows();
    List2.setCurrentRow(-1);
    List3.setCurrentRow(-1);
}

void Form1::appendResults(const ResultTable& rows) {
    resultTable.append(rows);
    List1.rowsAppended();
}

void Form1::reportVerseFileError(const std::exception& error) {
    QString text = QStringLiteral("تعذرت قراءة ملف الآيات.");
    if (const auto* fileError = dynamic_cast<const VerseFileError*>(&error)) {
        const QString path = QString::fromStdString(fileError->file().string());
        text = fileError->kind() == VerseFileError::Kind::TooShort
                   ? QStringLiteral("ملف الآيات أقصر من ملف البحث:\n%1").arg(path)
                   : QStringLiteral("تعذر فتح ملف الآيات أو قراءته:\n%1").arg(path);
    }
    messageBox->show(text, kErrorCaption);
}

void Form1::runQueuedScan() {
    if (scanning_) return;
    if (queuedScan_) {
        auto request = std::move(queuedScan_);
        queuedScan_ = nullptr;
        request();
    }
    // A range send waits for every listing asked for before it.
    if (!scanning_ && rangeSendWaiting_) {
        rangeSendWaiting_ = false;
        Command6_Click();
    }
}

void Form1::wordSearch() {
    if (scanning_) {  // run after the listing that is under way
        queuedScan_ = [this] { wordSearch(); };
        return;
    }
    DainCon.hide();
    Picture1.hide();
    FoldedSign.hide();
    closePartBox();
    Label2.clear();
    showBusy();
    if (Text1.text().isEmpty()) return;
    List1.hide();
    // A listing started by an event that runs here has ended before processEvents returns.
    QCoreApplication::processEvents();

    bool folded = false;
    try {
        clearResults();
        const WordSearchOutcome outcome =
            collectWordSearch(verseStore_.texts(VerseFiles::in(verseFolder)), Text1.text(), resultTable);
        Label3.setText(QString::number(outcome.linesRead));
        folded = outcome.folded;
        List1.resetRows();
    } catch (const VerseFileError& error) {
        // The search ends here; the window stays usable.
        clearResults();
        showIdle();
        List1.show();
        Label1.setText(QStringLiteral("0"));
        Label9.setText(QStringLiteral("0"));
        reportVerseFileError(error);
        return;
    }

    showIdle();
    List1.show();
    const int rows = List1.count();
    Label1.setText(QString::number(rows));
    if (checkValue(Check2) == 1 && rows == 1) {
        selectRow(0);
        cmdcreate.click();
    }
    Label9.setText(QString::number(rows));
    showFoldedSign(folded);
    if (rows == 0) {
        showNotice(QStringLiteral("غير موجودة"), 500);
    } else {
        // The list takes the focus as the window appears, before the query box could.
        if (!isVisible()) List1.setFocus();
        show();
        QCoreApplication::processEvents();
        if (List1.count() > 0) selectRow(0);  // an event may have listed a surah meanwhile
        List1.setFocus();
    }
}

void Form1::fillSurahChooser() {
    {
        const QSignalBlocker block(Combo1);
        Combo1.clear();
        for (int n = 0; n <= quran::kSurahCount; ++n) Combo1.addItem(fromU16(chooserName(n)));
        Combo1.setCurrentIndex(0);
    }
    chooseSurah(0);
}

void Form1::chooseSurah(int index) {
    if (scanning_) {  // the latest choice is listed when the running listing ends
        queuedScan_ = [this] { chooseSurah(Combo1.currentIndex()); };
        return;
    }
    if (index < 0) return;
    keyboardLayout->activateArabic();
    clearResults();
    Text1.setText(QString::fromStdString(surahCode(index)));
    Command5.click();  // the surah listing
    Label9.setText(QString::number(List1.count()));
    runQueuedScan();
}

void Form1::surahListing() {
    if (scanning_) return;
    FoldedSign.hide();
    showBusy();
    if (Text1.text().isEmpty()) return;
    // A listing started by an event that runs here has ended before processEvents returns.
    QCoreApplication::processEvents();

    scanning_ = true;
    std::optional<VerseFileError> failure;
    // Rows found reach the three lists together, at most every 100 ms and at the end: a
    // visible list laid out and repainted for every row would cost more than the scan.
    ResultTable pending;
    QElapsedTimer sinceAppend;
    const auto appendPending = [&] {
        appendResults(pending);
        pending.clear();
        sinceAppend.start();
    };
    try {
        clearResults();
        Label3.setText(QStringLiteral("0"));
        sinceAppend.start();
        const auto code = encodeArabicCodePage(Text1.text());
        VerseScan scan(verseStore_.texts(VerseFiles::in(verseFolder)));
        while (scan.next()) {
            const std::string_view line = scan.searchLine();
            if (code && line.substr(0, 3).find(*code) != std::string_view::npos) {
                pending.appendCurrent(scan);
                if (sinceAppend.elapsed() >= 100) appendPending();
            }
            QCoreApplication::processEvents();
            Label3.setText(QString::number(scan.lineCount()));
        }
    } catch (const VerseFileError& error) {
        failure = error;
    }
    appendPending();  // what was read before a failure stays in the table
    scanning_ = false;

    // Closing steps, also after a failure.
    showIdle();
    if (isShown(Text1) && List1.count() == 0) showNotice(QStringLiteral("كلمة البحث غير موجودة"), 1000);
    Label1.setText(QString::number(List1.count()));
    if (failure) reportVerseFileError(*failure);
}

// ---------------------------------------------------------------------------------------------
// Keys

void Form1::Text1_GotFocus() {
    keyboardLayout->activateArabic();
    Text1.setText(QStringLiteral(" "));
    // The word is typed in front of the blank, so that it ends with one. A click that gave the
    // focus places the cursor after this handler has run: put it back once the click is over.
    Text1.setCursorPosition(0);
    QTimer::singleShot(0, &Text1, [this] {
        if (Text1.text() == QLatin1String(" ")) Text1.setCursorPosition(0);
    });
}

void Form1::Text1_KeyPress(QKeyEvent& key) {
    if (!isEnter(key)) return;
    Text1.setText(u' ' + Text1.text());
    wordSearch();
}

void Form1::List1_KeyPress(QKeyEvent& key) {
    if (isEnter(key)) cmdcreate.click();
}

void Form1::Combo1_KeyPress(QKeyEvent& key) {
    if (Combo1.currentText() == kChooserPrompt) {
        Combo1.setFocus();
    } else if (Text3.text().isEmpty()) {
        Text3.setFocus();
    } else if (isEnter(key)) {
        Command6.click();
    }
}

void Form1::Text3_KeyPress(QKeyEvent& key) {
    if (Text3.text().isEmpty()) {
        Text3.setFocus();
    } else if (isEnter(key)) {
        Text4.setFocus();
    }
}

void Form1::Text4_KeyPress(QKeyEvent& key) {
    if (!isEnter(key)) return;
    if (Combo1.currentText() == kChooserPrompt) {
        Combo1.setFocus();
    } else if (Text3.text().isEmpty()) {
        Text3.setFocus();
    } else if (Text4.text().isEmpty()) {
        Text4.setFocus();
    } else {
        Command6.click();
    }
}

// ---------------------------------------------------------------------------------------------
// Notice panel

void Form1::showNotice(const QString& text, int intervalMs) {
    Label10.setText(text);
    Picture1.show();
    Picture1.raise();
    noticeTicks_ = 0;
    Timer1.start(intervalMs);
}

void Form1::Timer1_Timer() {
    ++noticeTicks_;
    if (noticeTicks_ > 2) {
        noticeTicks_ = 0;
        Picture1.hide();
        Timer1.stop();
        Timer1.setInterval(0);
    }
}

void Form1::Label10_Click() { Picture1.hide(); }

}  // namespace versend

#pragma once
// Form1, the one window of Versend. Its controls are the program's state: the result table,
// the current verse, the options and the counters live in them, and every operation reads and
// writes them by name. Operations start one another by pressing buttons from code.

#include "versend/click_label.h"
#include "versend/clipboard.h"
#include "versend/keyboard_layout.h"
#include "versend/message_box.h"
#include "versend/result_lists.h"
#include "versend/result_rows.h"
#include "versend/verse_scan.h"
#include "word/word.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

namespace versend {

// A control's own visibility flag, whether or not its window or panel is shown.
bool isShown(const QWidget& control);

// Value of a check box as stored and compared: 0 unchecked, 1 checked, 2 greyed.
int checkValue(const QCheckBox& box);
// Sets a check box from its value; false (and no change) for a value outside 0..2.
bool setCheckValue(QCheckBox& box, int value);

// An option check box: a click toggles it between checked and unchecked. The greyed state
// (value 2) is set only by the settings file, and a click on a greyed box checks it.
class OptionCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override { setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked); }
};

// Twips (1/1440 inch) to pixels at Qt's 96 logical dpi.
constexpr int twipsToPixels(double twips) { return static_cast<int>(twips / 15.0 + (twips >= 0 ? 0.5 : -0.5)); }

class Form1 : public QWidget {
    Q_OBJECT
public:
    // verseFolder: where QuranV.Qur and Qurant.Qur lie (the program's own folder).
    explicit Form1(std::filesystem::path verseFolder, QWidget* parent = nullptr);
    ~Form1() override;

    // ---- services, replaceable by tests -------------------------------------------------
    MessageBoxService* messageBox;
    Clipboard* clipboard;
    KeyboardLayout* keyboardLayout;
    // Creates the connection to the word processor on the first send.
    std::function<std::unique_ptr<word::Global>()> wordGlobalFactory;
    std::unique_ptr<word::Global> wordGlobal;
    // Ends the program at once, without the unload steps (close after sending).
    std::function<void()> endProgram;
    // Folder of the verse files.
    std::filesystem::path verseFolder;
    // The settings file, relative to the current directory unless made absolute.
    std::filesystem::path settingsFile{"Versend.ini"};
    // Length of a panel slide or a shape switch, in milliseconds (0: no animation).
    int animationMs = 250;

    // ---- events ---------------------------------------------------------------------------
    // Window load: the start-up sequence.
    void Form_Load();
    // Window unload: restores the keyboard layout.
    void Form_Unload();

    // ---- the current verse and the result table -------------------------------------------
    int currentSurah() const { return currentSurah_; }
    void setCurrentSurah(int surah) { currentSurah_ = surah; }
    // Selects row i of List1 (by code) and runs the row selection.
    void selectRow(int row);
    // Selects row i of List2; Label2 takes its text.
    void selectList2Row(int row);
    // Integer value of the surah code of a row (List3), 0 when there is none.
    int rowSurahNumber(int row) const;
    // The verse number at the end of a row's List1 text; empty when it ends in no digit.
    QString rowVerseNumber(int row) const;
    // The vocalised text of a row (List2).
    QString rowVerseText(int row) const;

    // ---- notice panel -----------------------------------------------------------------------
    // Shows the message in Picture1 for three ticks of the given interval.
    void showNotice(const QString& text, int intervalMs);
    int noticeTicks() const { return noticeTicks_; }

    // ---- window geometry in twips -------------------------------------------------------------
    double windowLeft() const;
    double windowTop() const;
    double windowWidth() const { return widthTw_; }
    double windowHeight() const { return heightTw_; }
    void setWindowLeft(double twips);
    void setWindowTop(double twips);
    void setWindowWidth(double twips);
    void setWindowHeight(double twips);
    // True while a verse scan runs (the surah listing lets events run during it).
    bool scanRunning() const { return scanning_; }

    // Keeps the window painting while a send waits (the word processor is being started, or Word
    // is busy); input waits until the send is over. A window not shown yet (a direct send at
    // start-up) is shown, so that the user sees the send wait.
    void keepPaintingWhileWaiting();

    // ---- operations (also reachable through the buttons) ----------------------------------
    void wordSearch();
    void fillSurahChooser();
    void chooseSurah(int index);
    void surahListing();
    void applySettings();
    void saveSettings();

    // ---- handlers ----------------------------------------------------------------------------
    void cmdcreate_Click();  // send the current verse
    void Command6_Click();   // send a range
    void List1_Click();
    void List2_Click();
    void Timer1_Timer();
    void Label2_MouseUp(Qt::MouseButton button);
    void Label12_Click();
    void Label13_Click();
    void DainCon_Click();
    void Label21_Click();
    void Label23_Click();
    void Label24_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Picture3_Click();
    void Label10_Click();
    void Image1_Click();
    void Image4_Click();
    void Command2_Click();
    void Command3_Click();

    // The rows behind the three lists of the result table (List1, List2, List3).
    ResultTable resultTable;

    // ---- controls: containers first, then what they hold -----------------------------------
    // Picture7: the search column (query, list, counts). Picture8: the verse column.
    QFrame Picture7{this};
    QFrame Picture8{this};
    QFrame Picture9{this};

    QLineEdit Text1{&Picture7};
    QPushButton Command1{&Picture7};
    ClickLabel Image1{&Picture7};
    ResultList List1{resultTable, &Picture7};
    QLabel Label9{&Picture7};
    QLabel Label11{&Picture7};  // caption of the count
    // Beside the count, shown only while the rows come from the forgiving search.
    QLabel FoldedSign{&Picture7};

    QScrollArea Label2Frame{&Picture8};
    ClickLabel Label2;  // inside Label2Frame
    QPlainTextEdit Text5{&Picture8};
    QLabel Label4{&Picture8};
    QLabel Label5{&Picture8};
    QPushButton cmdcreate{&Picture8};
    QPushButton DainCon{&Picture8};
    QPushButton Command2{&Picture8};
    ClickLabel Label21{&Picture8};
    ClickLabel Label23{&Picture8};
    ClickLabel Label24{&Picture8};
    ClickLabel Image4{&Picture8};

    QLabel Label8{&Picture9};

    // hidden state holders
    HiddenList List2{resultTable, ResultTable::Column::Vocalised};
    HiddenList List3{resultTable, ResultTable::Column::Code};
    QLabel Label1{this};
    QLabel Label3{this};
    QLabel Dain1{this};
    QLabel Dain2{this};
    QLabel Image2{this};
    QLabel Image3{this};
    QLabel Image5{this};
    QLabel Image6{this};
    QPushButton Command3{this};
    QPushButton Command4{this};
    QPushButton Command5{this};

    // Picture6: surah and range panel.
    QFrame Picture6{this};
    QLabel Label16{&Picture6};
    QComboBox Combo1{&Picture6};
    QLabel Label17{&Picture6};
    QLineEdit Text3{&Picture6};
    QLabel Label18{&Picture6};
    QLineEdit Text4{&Picture6};
    QPushButton Command6{&Picture6};
    QPushButton Command8{&Picture6};

    // Picture5: options panel.
    QFrame Picture5{this};
    QLabel Label19{&Picture5};
    QLineEdit ftx1{&Picture5};
    QLabel Label20{&Picture5};
    QLineEdit ftx2{&Picture5};
    OptionCheckBox Check2{&Picture5};
    OptionCheckBox Check1{&Picture5};
    OptionCheckBox Check3{&Picture5};
    OptionCheckBox Check4{&Picture5};
    QPushButton load{&Picture5};
    QPushButton save{&Picture5};
    QListWidget SaveList{&Picture5};
    QPushButton Command7{&Picture5};

    // Picture3: contact panel.
    QFrame Picture3{this};
    QLabel Label14{&Picture3};
    QLabel Label15{&Picture3};
    QPushButton Command9{&Picture3};

    // Picture2: the pop-up on the current verse.
    QFrame Picture2{this};
    ClickLabel Label12{&Picture2};
    ClickLabel Label13{&Picture2};

    // Picture1: the notice panel.
    QFrame Picture1{this};
    ClickLabel Label10{&Picture1};

    QTimer Timer1{this};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildSearchColumn();
    void buildVerseColumn();
    void buildStateHolders();
    void buildRangePanel();
    void buildOptionsPanel();
    void buildContactPanel();
    void buildPopUpAndNotice();
    void connectHandlers();
    void applyLayoutConstants();
    void applyDefaultSettings();
    void applyWindowShape();
    void showBusy();
    void showIdle();
    // Shows the forgiving search's sign beside the count, or hides it.
    void showFoldedSign(bool shown);
    void reportVerseFileError(const std::exception& error);
    void runQueuedScan();
    // Empties the result table and its three lists.
    void clearResults();
    // Appends rows to the result table and shows them in List1.
    void appendResults(const ResultTable& rows);
    // Hides the part box and forgets what it held, so that no later send takes it for a part.
    void closePartBox();
    // Ends the program after a send: the keyboard layout is restored first.
    void endAfterSend();
    // Key handlers; none of them consumes the key.
    void Text1_KeyPress(QKeyEvent& key);
    void Text1_GotFocus();
    void List1_KeyPress(QKeyEvent& key);
    void Combo1_KeyPress(QKeyEvent& key);
    void Text3_KeyPress(QKeyEvent& key);
    void Text4_KeyPress(QKeyEvent& key);
    // Loops over values from start towards end in steps, as a short animation that lets
    // pending events run at each shown step; the last value of the loop is always applied.
    void animateLoop(double start, double end, double step, int durationMs, const std::function<void(double)>& apply);
    void slidePanelIn(QFrame& panel);

    std::unique_ptr<MessageBoxService> ownMessageBox_;
    std::unique_ptr<Clipboard> ownClipboard_;
    std::unique_ptr<KeyboardLayout> ownKeyboardLayout_;

    int currentSurah_ = 0;
    int noticeTicks_ = 0;
    double leftTw_ = 0;
    double topTw_ = 0;
    double widthTw_ = 0;
    double heightTw_ = 0;
    bool scanning_ = false;
    std::function<void()> queuedScan_;
    // A range send asked for while a listing ran; it runs once the listing has ended.
    bool rangeSendWaiting_ = false;
    VerseStore verseStore_;
    bool shapeSwitching_ = false;
    // The query box lost the focus because the window went to the back.
    bool text1KeptOverWindowSwitch_ = false;
    std::vector<const QFrame*> slidingPanels_;
};

}  // namespace versend

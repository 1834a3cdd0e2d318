#include "FileBytes.h"
#include "TestRegistry.h"
#include "ScriptedPrompter.h"

#include "common/Twips.h"
#include "document/FileFingerprint.h"
#include "editor/component/CodeEdit.h"
#include "editor/EditorStatusBar.h"
#include "editor/Layout.h"
#include "editor/ToolbarMarkup.h"
#include "editor/frmEdit.h"
#include "snippets/SidePanel.h"

#include <ScintillaEditBase.h>
#include <QtTest>
#include <QtWidgets>

#include <fcntl.h>
#include <sys/stat.h>

using namespace kestrin;
using kestrin::test::readBytes;
using kestrin::test::writeBytes;
using kestrin::test::RecordingDesktop;
using kestrin::test::ScriptedPrompter;
using Answer = Prompter::Answer;


namespace {

ScintillaEditBase *sci(const frmEdit &w) { return static_cast<ScintillaEditBase *>(w.RC->editorWidget()); }
void select(const frmEdit &w, long anchor, long caret) { sci(w)->send(SCI_SETSEL, anchor, caret); }

int caretLine(const frmEdit &w) { return int(sci(w)->send(SCI_LINEFROMPOSITION, sci(w)->send(SCI_GETCURRENTPOS))); }

void showActive(frmEdit &w)
{
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.RC->setFocus();
}

// What the swatch paints, at its centre.
QColor swatch(const frmEdit &w) { return w.PC->grab().toImage().pixelColor(w.PC->rect().center()); }

// answers: the save question's answer, then the file dialogs' ("-": cancelled).
struct QuestionRow { QString command; bool modified; QString answers; bool proceeds; };
struct EncodingRow { QString name; QByteArray file; int button /* -1: no question */; QByteArray written /* empty: none */, text; QString encoding; };
// input: a key sequence, a menu command or a KeyDown event (key code, shift state); "/" in text stands for the document's line break;
// status: the status bar's fourth panel; triggers: the command a key runs.
struct EditRow { QString input, clipboard; QByteArray text, selected; QString copied, status, triggers; };
struct ToolbarRow { int index; QByteArray selected; QString answer /* "red", "font", "" cancelled */; QByteArray expected; };

} // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    // A file of the row's own folder, written when bytes are given.
    QString file(const QString &name, const QByteArray &bytes = QByteArray())
    {
        if (!bytes.isNull() && !writeBytes(m_dir->filePath(name), bytes))
            QTest::qFail("the test file cannot be written", __FILE__, __LINE__);
        return m_dir->filePath(name);
    }
private Q_SLOTS:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }
    // The question about unsaved changes when closing or opening; a failed save keeps the window
    // and the changes, and says why.
    void saveQuestion_data()
    {
        QTest::addColumn<QuestionRow>("row");
        QTest::newRow("close, unmodified") << QuestionRow{"close", false, "", true};
        QTest::newRow("close, Cancel") << QuestionRow{"close", true, "Cancel", false};
        QTest::newRow("close, No") << QuestionRow{"close", true, "No", true};
        QTest::newRow("close, Yes, Save As cancelled") << QuestionRow{"close", true, "Yes -", false};
        QTest::newRow("close, Yes, saved") << QuestionRow{"close", true, "Yes saved.htm", true};
        QTest::newRow("close, Yes, save fails") << QuestionRow{"close", true, "Yes folder.htm", false};
        QTest::newRow("open, unmodified") << QuestionRow{"open", false, "open.php", true};
        QTest::newRow("open, Yes, Save As cancelled") << QuestionRow{"open", true, "Yes -", false};
        QTest::newRow("open, a folder") << QuestionRow{"open", false, "folder.htm", false};
    }
    void saveQuestion()
    {
        QFETCH(QuestionRow, row);
        const auto &[command, modified, answers, proceeds] = row;
        file("open.php", "<?php echo 1; ?>\n");
        QVERIFY(QDir(m_dir->path()).mkdir("folder.htm"));
        ScriptedPrompter prompter;
        frmEdit w;
        w.show();
        if (modified) w.RC->setSelectedText("unsaved");
        w.RC->markProblem(1, "from the file before"); // gone when another file opens
        QCOMPARE(w.DocumentModified(), modified);
        const QMap<QString, Answer> question{{"Yes", Answer::Yes}, {"No", Answer::No}, {"Cancel", Answer::Cancel}};
        for (const QString &a : answers.split(' ', Qt::SkipEmptyParts))
            if (question.contains(a))
                prompter.answerQuestion(question[a]);
            else
                prompter.answerFile(a == "-" ? std::nullopt : std::optional<QString>(file(a)));
        if (command == "close")
            QCOMPARE(w.close(), proceeds);
        else
            w.Toolbar1_ButtonClick(2);
        QVERIFY(prompter.allAnswersUsed());
        if (modified)
            QCOMPARE(prompter.asked.value(0).text, QStringLiteral("The file Untitled is changed and not saved. Save?"));
        if (answers.contains("folder"))
            QVERIFY(!prompter.asked.isEmpty() && prompter.asked.last().title == "kestrin4" && prompter.asked.last().text.contains(file("folder.htm")));
        if (answers.contains("saved")) QCOMPARE(readBytes(file("saved.htm")), QByteArray("unsaved"));
        if (command == "open" && proceeds) {
            const QImage opened = w.RC->editorWidget()->grab().toImage();
            w.RC->clearProblem();
            QCOMPARE(w.RC->editorWidget()->grab().toImage(), opened);
            QCOMPARE(w.RC->Text(), QByteArray("<?php echo 1; ?>\n"));
            QVERIFY(w.documentPath() == file("open.php") && w.StatusBar1->panelText(1) == w.documentPath());
            QVERIFY(!w.DocumentModified());
        } else if (!proceeds) {
            QCOMPARE(w.RC->Text(), modified ? QByteArray("unsaved") : QByteArray());
            QCOMPARE(w.documentPath(), QStringLiteral("Untitled"));
            QVERIFY(w.isVisible() && w.DocumentModified() == modified);
        }
    }

    // Save on an untitled document is Save As, which takes the name as given; Save as txt writes
    // the text without tags and leaves the document as it is.
    void saveAsAndSaveAsTxt()
    {
        const QString page = file("page"), txt = file("plain.txt");
        ScriptedPrompter prompter;
        frmEdit w;
        w.RC->setSelectedText("<b>x</b>");
        prompter.answerFile(page, 1), w.Toolbar1_ButtonClick(3);
        QVERIFY(prompter.asked.value(0).file.save);
        QCOMPARE(prompter.asked.value(0).file.filter,
                 QStringLiteral("Html files|*.htm;*.html|Php files|*.php|Css files|*.css|Js files|*.js|Tpl files|*.tpl"));
        QCOMPARE(readBytes(page), QByteArray("<b>x</b>"));
        QCOMPARE(w.documentPath(), page);
        QVERIFY(!w.DocumentModified());
        w.RC->setSelectedText("<i></i>");
        prompter.answerFile(std::nullopt), w.mnuSaveAsTxt_Click(); // cancelled
        prompter.answerFile(txt), w.mnuSaveAsTxt_Click();
        QCOMPARE(readBytes(txt), QByteArray("x\r\n"));
        QVERIFY(w.documentPath() == page && w.DocumentModified());
        QVERIFY(w.mnuSave_Click());
        QCOMPARE(readBytes(page), QByteArray("<b>x</b><i></i>"));
        QVERIFY(!w.DocumentModified());
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), (QStringList{"page", "plain.txt"}));
        QVERIFY(prompter.allAnswersUsed() && prompter.asked.size() == 3);
    }

    // A document named on the command line that does not exist is created by Save; one that cannot
    // be read is reported and never bound, so Save cannot overwrite it.
    void commandLineDocument_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // null: no such file
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("unreadable") << QByteArray("PK\x03\x04\0\0\0binary", 13);
    }
    void commandLineDocument()
    {
        QFETCH(QByteArray, bytes);
        const QString path = file("doc.php", bytes);
        ScriptedPrompter prompter;
        frmEdit w({path, {}});
        const bool bound = bytes.isNull();
        QCOMPARE(w.documentPath(), bound ? path : QStringLiteral("Untitled"));
        QCOMPARE(prompter.asked.size(), bound ? 0 : 1);
        if (!bound) QVERIFY(prompter.asked.value(0).title == "kestrin4" && prompter.asked.value(0).text.contains(path));
        w.RC->setSelectedText("new"), prompter.answerFile(std::nullopt);
        QCOMPARE(w.mnuSave_Click(), bound);
        QCOMPARE(readBytes(path), bound ? QByteArray("new") : bytes);
    }

    // Save over a file another program changed since it was opened (or since our own last save)
    // asks first; Yes writes (a deleted file is created again), No leaves their file and the flag.
    void saveOverAFileChangedOnDisk_data()
    {
        QTest::addColumn<QString>("change"), QTest::addColumn<bool>("yes");
        QTest::newRow("content, time kept") << "content" << false;
        QTest::newRow("content, time kept, hashed") << "content hashed" << true;
        QTest::newRow("size") << "size" << false;
        QTest::newRow("deleted") << "deleted" << true;
        QTest::newRow("our own previous save") << "own" << true;
    }
    void saveOverAFileChangedOnDisk()
    {
        QFETCH(QString, change); QFETCH(bool, yes);
        const QString page = file("page.html", "<p>one</p>\n");
        FileFingerprint::setAlwaysHash(change.endsWith("hashed"));
        auto normal = qScopeGuard([] { FileFingerprint::setAlwaysHash(false); });
        ScriptedPrompter prompter;
        frmEdit w({page, {}});
        w.RC->setSelectedText("mine");
        QByteArray theirs = "<p>two</p>\n";
        if (change.startsWith("content")) { // same size, the modification time put back to the nanosecond
            struct stat st {};
            QVERIFY(::stat(qPrintable(page), &st) == 0);
            QVERIFY(writeBytes(page, theirs));
            const timespec times[2] = {{0, UTIME_OMIT}, st.st_mtim};
            QVERIFY(::utimensat(AT_FDCWD, qPrintable(page), times, 0) == 0);
        } else if (change == "size") {
            QVERIFY(writeBytes(page, theirs = "<p>one</p>\n<p>more</p>\n"));
        } else if (change == "deleted") {
            QVERIFY(QFile::remove(page));
            theirs = "<unreadable>";
        } else {
            QVERIFY(w.mnuSave_Click());
            w.RC->setSelectedText("more ");
        }
        const QByteArray ours = w.RC->Text();
        if (change != "own") prompter.answerQuestion(yes ? Answer::Yes : Answer::No);
        QCOMPARE(w.mnuSave_Click(), yes);
        QVERIFY(prompter.allAnswersUsed());
        if (change != "own")
            QCOMPARE(prompter.asked.value(0).text, QString("The file %1 was changed by another program since it was opened. Overwrite it?").arg(page));
        QCOMPARE(readBytes(page), yes ? ours : theirs);
        QCOMPARE(w.DocumentModified(), !yes);
        if (yes) { // our own save is remembered: the next one does not ask
            w.RC->setSelectedText("again ");
            QVERIFY(w.mnuSave_Click() && prompter.allAnswersUsed());
        }
    }

    // A character the file's encoding cannot hold: one question, then references or escapes in the
    // document's language (one undo step, the encoding kept), UTF-8 from then on, or nothing at all.
    void unencodableCharacterChoice_data()
    {
        QTest::addColumn<EncodingRow>("row");
        const QByteArray cp1252 = "caf\xE9\n", shown = "ā😀café\n";
        QTest::newRow("html, references") << EncodingRow{"p.html", cp1252, 0, "&#257;&#128512;caf\xE9\n", "&#257;&#128512;café\n", "Windows-1252"};
        QTest::newRow("css, escapes") << EncodingRow{"p.css", cp1252, 0, "\\101 \\1F600 caf\xE9\n", "\\101 \\1F600 café\n", "Windows-1252"};
        QTest::newRow("js, escapes") << EncodingRow{"p.js", cp1252, 0, "\\u0101\\u{1F600}caf\xE9\n", "\\u0101\\u{1F600}café\n", "Windows-1252"};
        QTest::newRow("php, UTF-8") << EncodingRow{"p.php", cp1252, 1, shown, shown, "UTF-8"};
        QTest::newRow("css, cancel") << EncodingRow{"p.css", cp1252, 2, "", shown, "Windows-1252"};
        QTest::newRow("php, UTF-16 file") << EncodingRow{"p.php", QByteArray("\xFF\xFE" "c\0a\0f\0\xE9\0\n\0", 12), -1,
                                                         QByteArray("\xFF\xFE\x01\x01=\xD8\0\xDE" "c\0a\0f\0\xE9\0\n\0", 18), shown, "UTF-16LE"};
    }
    void unencodableCharacterChoice()
    {
        QFETCH(EncodingRow, row);
        const auto &[name, file, button, written, text, encoding] = row;
        const QString page = this->file(name, file);
        ScriptedPrompter prompter;
        frmEdit w({page, {}});
        w.RC->setSelectedText("ā😀");
        if (button >= 0) prompter.answerChoice(button);
        QCOMPARE(w.mnuSave_Click(), button != 2);
        QVERIFY(prompter.allAnswersUsed());
        if (button >= 0) {
            QCOMPARE(prompter.asked.value(0).text, QString("2 characters cannot be written in Windows-1252, the encoding of the "
                                                     "file %1. The first is \"ā\" (U+0101) on line 1.").arg(page));
            QCOMPARE(prompter.asked.value(0).buttons, (QStringList{name.endsWith("ss") || name.endsWith("js") ? "Use escapes" : "Use character references",
                                                             "Save as UTF-8", "Cancel"}));
        }
        QCOMPARE(readBytes(page), written.isEmpty() ? file : written);
        QCOMPARE(w.RC->Text(), text);
        QCOMPARE(w.RC->document()->encodingName(), encoding);
        QCOMPARE(w.DocumentModified(), button == 2);
        if (button == 2) return;
        // Typing goes on after the same character; saving again asks nothing: the characters are
        // gone, or the file is UTF-8 now.
        const QByteArray more = encoding == "Windows-1252" ? "x" : "ā";
        w.RC->setSelectedText(more);
        QCOMPARE(w.RC->Text(), QByteArray(text).insert(text.indexOf("caf"), more));
        QVERIFY(w.mnuSave_Click());
        QCOMPARE(prompter.asked.size(), button >= 0 ? 1 : 0);
        w.RC->Undo(), w.RC->Undo();
        QCOMPARE(w.RC->Text(), button == 0 ? QByteArray("ā😀café\n") : QByteArray("café\n"));
    }

    // When the window comes to the front, a file changed on disk is taken in quietly, the caret on
    // its line, unless the document has changes of its own (then Save asks).
    void activationReloadsAnUnchangedDocument()
    {
        for (const bool modified : {false, true}) {
            const QString page = file("page.html", "one\ntwo\nthree\n");
            ScriptedPrompter prompter;
            frmEdit w({page, {}});
            showActive(w);
            w.RC->GoToLine(3);
            if (modified) w.RC->setSelectedText("mine ");
            const QByteArray before = w.RC->Text();
            QVERIFY(writeBytes(page, "ONE\nTWO\nTHREE\nFOUR\n"));
            QEvent activated(QEvent::ActivationChange);
            QCoreApplication::sendEvent(&w, &activated);
            QCOMPARE(w.RC->Text(), modified ? before : QByteArray("ONE\nTWO\nTHREE\nFOUR\n"));
            QCOMPARE(w.DocumentModified(), modified);
            QCOMPARE(caretLine(w), 2);
            QVERIFY(prompter.asked.isEmpty());
        }
    }
};
KESTRIN_REGISTER_TEST(FileCommandsTest);

class EditCommandsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Keys in the editor of the shown window and the Edit menu, on "aéc" with "é" selected: the
    // window's shortcuts win over the editor, copy and paste happen once, in the document's line ends.
    void edits_data()
    {
        QTest::addColumn<EditRow>("row");
        for (auto [keys, action] : {std::pair{"Ctrl+N", "mnuNew"}, {"Ctrl+O", "mnuOpen"}, {"Ctrl+S", "mnuSave"}, {"Ctrl+Q", "mnuSaveAs"},
                                    {"Ctrl+X", "mnuExit"}, {"F5", "mnuFind"}, {"F6", "mnuFindNext"}})
            QTest::newRow(keys) << EditRow{keys, "Z", "aéc", "é", "Z", "", action};
        for (const char *keys : {"Ctrl+C", "Ctrl+Ins", "mnuCopy"})
            QTest::newRow(keys) << EditRow{keys, "Z", "aéc", "é", "é", "", ""};
        QTest::newRow("Ctrl+V") << EditRow{"Ctrl+V", "1\r\n2", "a1/2c", "", "1\r\n2", "", ""};
        QTest::newRow("Ctrl+V, empty clipboard") << EditRow{"Ctrl+V", "", "ac", "", "", "", ""};
        for (const char *keyDown : {"67 3", "86 3", "86 4"}) // Ctrl+Shift+C, Ctrl+Shift+V, Alt+V: no clipboard use
            QTest::addRow("KeyDown %s", keyDown) << EditRow{keyDown, "Z", "aéc", "é", "Z", "", ""};
        QTest::newRow("Ins") << EditRow{"Ins", "Z", "aéc", "é", "Z", "INS", ""};
        QTest::newRow("X") << EditRow{"X", "Z", "axc", "", "Z", "", ""};
        QTest::newRow("Backspace") << EditRow{"Backspace", "Z", "ac", "", "Z", "", ""};
        QTest::newRow("menu Undo") << EditRow{"mnuUndo", "Z", "", "", "Z", "", ""};
        QTest::newRow("menu Cut") << EditRow{"mnuCut", "Z", "ac", "", "é", "", ""};
        QTest::newRow("menu Paste") << EditRow{"mnuPaste", "1\r\n2", "a1/2c", "", "1\r\n2", "", ""};
        QTest::newRow("menu Delete") << EditRow{"mnuDelete", "Z", "ac", "", "Z", "", ""};
        QTest::newRow("menu Select All") << EditRow{"mnuSelectAll", "Z", "aéc", "aéc", "Z", "", ""};
    }
    void edits()
    {
        QFETCH(EditRow, row);
        RecordingDesktop desktop;
        ScriptedPrompter prompter; // every question cancelled
        frmEdit w;
        w.RC->setText("aéc"), select(w, 1, 3);
        w.RC->document()->setUnmodified();
        QApplication::clipboard()->setText(row.clipboard);
        int triggered = 0;
        if (!row.triggers.isEmpty())
            QObject::connect(w.findChild<QAction *>(row.triggers), &QAction::triggered, &w, [&] { ++triggered; });
        showActive(w);
        if (row.input.startsWith("mnu"))
            w.findChild<QAction *>(row.input)->trigger();
        else if (row.input.front().isDigit())
            QVERIFY(!w.RC_KeyDown(row.input.section(' ', 0, 0).toInt(), row.input.section(' ', 1).toInt()));
        else
            QTest::keySequence(w.RC->editorWidget(), QKeySequence(row.input));
        const QByteArray text = row.text.replace("/", w.RC->document()->lineBreak());
        QCOMPARE(w.RC->Text(), text);
        QCOMPARE(w.RC->SelectedText(), row.selected);
        QCOMPARE(QApplication::clipboard()->text(), row.copied);
        QCOMPARE(w.StatusBar1->panelText(4), row.status);
        QCOMPARE(w.DocumentModified(), text != "aéc");
        w.RC->Undo(); // back at the save point nothing is unsaved, whatever came between
        QCOMPARE(w.DocumentModified(), w.RC->Text() != "aéc");
        QCOMPARE(triggered, int(!row.triggers.isEmpty()));
        QCOMPARE(desktop.started.size(), int(row.input == "Ctrl+N"));
        if (!desktop.started.isEmpty())
            QVERIFY(desktop.started[0].first == QCoreApplication::applicationFilePath() && desktop.started[0].second.isEmpty());
    }

    // Panel 3 after key events, each "key/state": a, Caps (^ a release), state L Lock, S Shift, N Num
    // Lock, 0 made by a program (no scan code). An event carries the state from before it.
    void capsLockPanel_data()
    {
        QTest::addColumn<QString>("panel");
        for (const char *on : {"a/L", "Caps", "Caps ^Caps/L", "a/LSN", "a/L a/0", "a/L Caps/L Caps"})
            QTest::newRow(on) << "CAPS";
        for (const char *off : {"", "a/L a", "a/L Caps/L ^Caps/L", "a/SN", "a ^Caps/L"})
            QTest::newRow(off) << "";
    }
    void capsLockPanel()
    {
        QFETCH(QString, panel);
        frmEdit w;
        for (const QString &k : QString::fromLatin1(QTest::currentDataTag()).split(' ', Qt::SkipEmptyParts)) {
            const QString s = k.section('/', 1);
            QKeyEvent e(k.startsWith('^') ? QEvent::KeyRelease : QEvent::KeyPress, k.contains("Caps") ? Qt::Key_CapsLock : Qt::Key_A, Qt::NoModifier,
                        s.contains('0') ? 0 : 38, 0, (s.contains('L') ? 2 : 0) | (s.contains('S') ? 1 : 0) | (s.contains('N') ? 0x10 : 0));
            QApplication::sendEvent(w.RC->editorWidget(), &e);
        }
        QCOMPARE(w.StatusBar1->panelText(3), panel);
    }

    void gotoLine_data()
    {
        QTest::addColumn<std::optional<QString>>("answer"), QTest::addColumn<int>("line"); // 0-based line of the caret afterwards, from 4
        for (auto [answer, line] : {std::pair{"12.5", 11}, {"13.5", 13}, {" 7 ", 6}, {"3.4", 2}, {"", 4}, {"word", 4}, {"0", 4},
                                    {"99", 30}, {"2147483648", 4}, {"-2147483648", 4}, {"1e400", 4}})
            QTest::addRow("\"%s\"", answer) << std::optional<QString>(answer) << line;
        QTest::newRow("Cancel") << std::optional<QString>() << 4;
    }
    void gotoLine()
    {
        QFETCH(std::optional<QString>, answer); QFETCH(int, line);
        ScriptedPrompter prompter;
        frmEdit w;
        w.RC->setText(QByteArray("line\n").repeated(30)), w.RC->GoToLine(5);
        showActive(w);
        w.Toolbar1->setFocus();
        prompter.answerInput(answer), w.mnuGotoline_Click();
        QVERIFY(prompter.asked.value(0).title == "kestrin4" && prompter.asked.value(0).text == "Line:");
        QCOMPARE(caretLine(w), line);
        QVERIFY(w.RC->editorWidget()->hasFocus());
    }

    void swatchFollowsTheSelection_data()
    {
        QTest::addColumn<QByteArray>("text"), QTest::addColumn<QColor>("colour");
        for (auto [text, colour] : {std::pair{"#FF8000", QColor(255, 128, 0)}, {"#F00", QColor(240, 0, 0)}, {"red", QColor(13, 0, 0)}, {"#0000ff;", QColor(0, 0, 255)}})
            QTest::newRow(text) << QByteArray(text) << colour;
    }
    void swatchFollowsTheSelection()
    {
        QFETCH(QByteArray, text); QFETCH(QColor, colour);
        frmEdit w;
        QCOMPARE(swatch(w), QColor(Qt::black));
        w.RC->setText("x " + text + " y");
        select(w, 2, 2 + text.size());
        QCOMPARE(swatch(w), colour);
        select(w, 2 + text.size(), 2); // selected backwards
        QCOMPARE(swatch(w), colour);
        select(w, 0, 0); // an empty selection paints black
        QCOMPARE(swatch(w), QColor(Qt::black));
    }

    // Picture-only buttons: no caption, a tool tip that says what the button does, as its name does.
    // (The menus' captions are read in the real window by the languages test, their keys by edits.)
    void commandsAreNamed()
    {
        frmEdit w;
        QStringList shown;
        for (QAction *a : w.toolbarActions) {
            auto *button = qobject_cast<QToolButton *>(w.Toolbar1->widgetForAction(a));
            QVERIFY(a->isSeparator() || (a->text().isEmpty() && !a->icon().isNull() && button->toolTip() == button->accessibleName()));
            shown << (a->isSeparator() ? "-" : button->accessibleName());
        }
        QCOMPARE(shown, (QStringList{"New", "Open", "Save", "-", "Undo", "Redo", "-", "Bold", "Italic", "Underline", "-", "Font face",
                                     "Font color", "Color code", "-", "Align left", "Center", "Align right", "-", "Line break"}));
        QCOMPARE(w.PC->toolTip(), QStringLiteral("Current color"));
    }

    // The tags of each button from what was chosen ("open|close"); a chosen name that is not plain
    // still gives valid markup.
    void toolbarMarkup_data()
    {
        QTest::addColumn<int>("button"), QTest::addColumn<QString>("chosen"), QTest::addColumn<QByteArray>("tags");
        for (auto [button, chosen, tags] : {std::tuple{8, "", "<b>|</b>"}, {9, "", "<i>|</i>"}, {10, "", "<u>|</u>"},
                                            {16, "", "<p align='left'>|</p>"}, {17, "", "<center>|</center>"},
                                            {18, "", "<p align='right'>|</p>"}, {12, "Liberation Serif", "<font face='Liberation Serif'>|</font>"},
                                            {12, "Q&A \"<x>'s", "<font face='Q&amp;A &quot;&lt;x>&#39;s'>|</font>"},
                                            {13, "FF0000", "<font color='#FF0000'>|</font>"}, {14, "FF0000", "FF0000"},
                                            {19, "", "|"}, {20, "", "<br>"}})
            QTest::addRow("%d %s", button, chosen) << button << QString(chosen) << QByteArray(tags);
    }
    void toolbarMarkup()
    {
        QFETCH(int, button); QFETCH(QString, chosen);
        const Tags tags = toolbarTags(button, chosen);
        QTEST(tags.keepsSelection ? tags.open + '|' + tags.close : tags.open, "tags"); // else in the selection's place
    }
    // Each button on "a" + selected + "z" and 500 more lines, scrolled far down; every click ends
    // with the caret in view.
    void toolbarEdits_data()
    {
        QTest::addColumn<ToolbarRow>("row");
        const QByteArray face = "<font face='" + QFont("Liberation Serif").family().toUtf8() + "'>mid</font>";
        QTest::newRow("Bold, no selection") << ToolbarRow{8, "", "", "<b></b>"};
        QTest::newRow("Bold over lines") << ToolbarRow{8, "1\n2", "", "<b>1\n2</b>"};
        QTest::newRow("Font face") << ToolbarRow{12, "mid", "font", face};
        QTest::newRow("Font face cancelled") << ToolbarRow{12, "mid", "", "mid"};
        QTest::newRow("Font color") << ToolbarRow{13, "mid", "red", "<font color='#FF0000'>mid</font>"};
        QTest::newRow("Font color cancelled") << ToolbarRow{13, "mid", "", "mid"};
        QTest::newRow("Color code") << ToolbarRow{14, "mid", "red", "FF0000"};
        QTest::newRow("Line break") << ToolbarRow{20, "mid", "", "<br>"};
        QTest::newRow("separator") << ToolbarRow{19, "mid", "", "mid"};
        QTest::newRow("Undo") << ToolbarRow{5, "mid", "", ""};
    }
    void toolbarEdits()
    {
        QFETCH(ToolbarRow, row);
        ScriptedPrompter prompter;
        frmEdit w;
        showActive(w);
        const QByteArray tail = "z" + QByteArray(500, '\n');
        w.RC->setText("a" + row.selected + tail);
        select(w, 1, 1 + row.selected.size()), sci(w)->send(SCI_SETFIRSTVISIBLELINE, 300);
        w.RC->document()->setUnmodified();
        if (row.index == 12)
            prompter.answerFont(row.answer.isEmpty() ? std::nullopt : std::optional<QFont>(QFont("Liberation Serif", 20)));
        else if (row.index == 13 || row.index == 14)
            prompter.answerColor(row.answer.isEmpty() ? std::nullopt : std::optional<QColor>(QColor(255, 0, 0)));
        w.Toolbar1_ButtonClick(row.index);
        QVERIFY(prompter.allAnswersUsed());
        QCOMPARE(w.RC->Text(), row.index == 5 ? QByteArray() : "a" + row.expected + tail);
        QCOMPARE(w.DocumentModified(), row.expected != row.selected);
        QVERIFY(sci(w)->send(SCI_GETFIRSTVISIBLELINE) <= caretLine(w));
    }

    // A German session: what a user reads or a screen reader says is German, the tool tips, the
    // panels' descriptions, snippet names, character captions (accented ones whole), the editing
    // area's own menu; the About box credits each library with its own version.
    void germanSession()
    {
        QTranslator german;
        QVERIFY(german.load(qEnvironmentVariable("KESTRIN_BUILD_DIR") + "/translations/kestrin4_de") && QCoreApplication::installTranslator(&german));
        ScriptedPrompter prompter;
        frmEdit w;
        showActive(w);
        QStringList tips, described, panel, menu;
        for (QAction *a : w.Toolbar1->actions()) tips << a->toolTip();
        for (QLabel *l : w.StatusBar1->findChildren<QLabel *>()) described << l->accessibleDescription();
        for (QAbstractButton *b : w.SSTab1->findChildren<QAbstractButton *>()) panel << b->text();
        for (QListWidget *list : w.SSTab1->findChildren<QListWidget *>())
            for (int i = 0; i < list->count(); ++i) panel << list->item(i)->text();
        QVERIFY(tips.contains("Fett") && described.contains("Feststelltaste"));
        for (const char *word : {"Unterstrichen", "UND", "\xC3\xA1"})
            QVERIFY2(panel.contains(QString::fromUtf8(word)), word);
        QTimer::singleShot(0, [&] {
            for (QAction *a : QApplication::activePopupWidget()->actions()) menu << a->text();
            QApplication::activePopupWidget()->close();
        });
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(20, 20), sci(w)->viewport()->mapToGlobal(QPoint(20, 20)));
        QApplication::sendEvent(sci(w)->viewport(), &click);
        QVERIFY2(menu.contains("Ausschneiden"), qPrintable(menu.join(',')));
        w.mnuAbout_Click();
        QVERIFY(prompter.asked.at(0).note.contains("Scintilla " KESTRIN_SCINTILLA_VERSION " mit Lexilla " KESTRIN_LEXILLA_VERSION));
    }
};
KESTRIN_REGISTER_TEST(EditCommandsTest);

class LayoutTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // In twips; -1: the size is left as it was.
    void arrange_data()
    {
        QTest::addColumn<QList<double>>("in");  // outer width, outer height, client width, client height, panel width
        QTest::addColumn<QList<double>>("out"); // outer width, outer height, panel, list, editor width, editor height
        QTest::newRow("design size") << QList<double>{10410, 8700, 10290, 8010, 2775} << QList<double>{-1, -1, 7215, 7115, 7515, 7215};
        QTest::newRow("panel folded") << QList<double>{10410, 8700, 10290, 8010, 345} << QList<double>{-1, -1, 7215, 7115, 9945, 7215};
        QTest::newRow("narrow") << QList<double>{9000, 9000, 10290, 8010, 2775} << QList<double>{10230, -1, 7215, 7115, 7515, 7215};
        QTest::newRow("low") << QList<double>{11000, 8000, 10290, 8010, 2775} << QList<double>{-1, 8310, 7215, 7115, 7515, 7215};
        QTest::newRow("exactly the minimum") << QList<double>{10230, 8310, 10290, 8010, 2775} << QList<double>{-1, -1, 7215, 7115, 7515, 7215};
        QTest::newRow("negative heights") << QList<double>{10410, 8700, 2000, 500, 2775} << QList<double>{-1, -1, -1, -1, -1, -1};
    }
    void arrange()
    {
        QFETCH(QList<double>, in); QFETCH(QList<double>, out);
        const EditorLayout l = arrangeControls({in[0], in[1], in[2], in[3], 420, 375, in[4]});
        const QList<std::optional<double>> got{l.outerWidth, l.outerHeight, l.panelHeight, l.listHeight, l.editorWidth, l.editorHeight};
        for (int i = 0; i < 6; ++i)
            QCOMPARE(got[i].value_or(-1), out[i]);
    }

    // Folding: in pixels the folded panel's width and the editor's left edge are too close to tell apart.
    void fold()
    {
        QCOMPARE(foldPanel(UnfoldedPanelWidth).panelWidth, 345);
        QCOMPARE(foldPanel(UnfoldedPanelWidth).editorLeft, 350);
    }

    // The editor fills the area between the toolbar and the status bar, with whatever heights the
    // style gives them: nothing of it (its horizontal scroll bar first) may lie under the status bar.
    void editorFillsTheAreaBelowTheToolbar()
    {
        frmEdit window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.RC->setText(QByteArray(2000, 'x') + "\n");
        const auto editor = [&] { return QRect(window.RC->mapTo(&window, QPoint(0, 0)), window.RC->size()); };
        for (const QSize size : {QSize(), QSize(900, 700)}) {
            if (size.isValid()) window.resize(size);
            // The window system may deliver the sizes a little later: wait for them.
            QTRY_COMPARE(editor().top(), window.Toolbar1->geometry().bottom() + 1);
            QTRY_COMPARE(editor().bottom(), window.StatusBar1->geometry().top() - 1);
            // The designed width overhangs the right edge by the 45 twips between panel and editor.
            QVERIFY2(editor().right() - (window.width() - 1) <= twipsToPixels(45), qPrintable(QString::number(editor().right())));
        }
    }

    void realWindow()
    {
        frmEdit window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.size(), QSize(twipsToPixels(10290), twipsToPixels(8010) + window.menuBar()->height()));
        const auto check = [&](int panel, int left, int width) {
            QCOMPARE(window.SSTab1->size(), QSize(twipsToPixels(panel), twipsToPixels(7215)));
            QCOMPARE(window.RC->geometry(), QRect(twipsToPixels(left), 0, twipsToPixels(width), twipsToPixels(7215)));
        };
        check(2775, 2820, 7515);
        window.Command8_Click();
        check(345, 350, 7515 + 2430);
        window.Command8_Click();
        check(2775, 2780, 7515);
        window.resize(100, 100);
        QTRY_VERIFY(window.frameGeometry().width() >= twipsToPixels(10230));
        QTRY_VERIFY(window.frameGeometry().height() >= twipsToPixels(8310));
    }
};

KESTRIN_REGISTER_TEST(LayoutTest);
#include "tst_frmedit.moc"

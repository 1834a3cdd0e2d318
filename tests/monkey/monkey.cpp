// Random events against a real editor window on a real X display: typed keys and text, clicks on every visible control
// of every window (side panel, toolbar, tool windows) and menu commands. Dialogs are answered at random by a prompter
// that never opens one. After every event the document must still be consistent with what the component reports.
//   KESTRIN_MONKEY_SEED=n    replay a run (the seed is printed at the start)
//   KESTRIN_MONKEY_EVENTS=n  how many events (default 3000)
// Exit status 0: every check held; 1: a check failed (the event and seed are printed).
#include "FileBytes.h"
#include "ScriptedPrompter.h"
#include "editor/component/CodeEdit.h"
#include "editor/frmEdit.h"
#include "replace/FolderList.h"
#include "replace/frmReplace.h"

#include <QTest>
#include <QtWidgets>
#include <cstdio>

using namespace kestrin;

namespace {

QRandomGenerator rng;
QString scratch; // every file the run may touch lives here
QString currentEvent;
QStringList trail; // the events before, for a failure a replay does not repeat (the timing differs)
int failures = 0, eventNumber = 0;

void fail(const QString &what)
{
    ++failures;
    std::fprintf(stderr, "MONKEY FAILURE after event %d \"%s\": %s\nbefore it: %s\n", eventNumber, qPrintable(currentEvent),
                 qPrintable(what), qPrintable(trail.join(" / ")));
}

int below(qsizetype n) { return int(rng.bounded(quint32(qMax(1, int(n))))); }
bool chance(int percent) { return below(100) < percent; }
template <typename T>
const T &pick(const QList<T> &list) { return list.at(below(list.size())); }
template <typename T>
std::optional<T> orCancel(int percent, const T &answer) { return chance(percent) ? std::nullopt : std::optional(answer); }
QPoint somewhere(QWidget *w) { return {below(w->width()), below(w->height())}; }

// Answers every question at random; files only ever come from or go to the scratch folder.
class RandomPrompter final : public Prompter {
public:
    using enum Answer;
    Answer askYesNoCancel(QWidget *, const QString &, const QString &) override { return pick(QList{Yes, No, Cancel}); }
    Answer askYesNo(QWidget *, const QString &, const QString &) override { return pick(QList{Yes, No}); }
    int choose(QWidget *, Icon, const QString &, const QString &, const QStringList &b) override { return below(b.size()); }
    void message(QWidget *, Icon, const QString &, const QString &, const QString &) override {}
    std::optional<QString> inputText(QWidget *, const QString &, const QString &) override
    { return orCancel(30, pick(QStringList{"1", "3", "0", "-5", " 2 ", "2.5", "abc", "", "99999999999"})); }
    std::optional<FileAnswer> chooseFile(QWidget *, const FileRequest &request) override
    {
        const QStringList files = request.save ? QStringList{"saved.html", "saved.php", "notes.txt", "sub/x.css", "page.html"}
                                               : QDir(scratch).entryList(QDir::Files);
        return files.isEmpty() ? std::nullopt : orCancel(35, FileAnswer{scratch + '/' + pick(files), 1 + below(3)});
    }
    std::optional<QFont> chooseFont(QWidget *, const QFont &) override { return orCancel(40, QFont("Sans", 6 + below(24))); }
    std::optional<QColor> chooseColor(QWidget *, const QColor &) override { return orCancel(40, QColor(rng.generate())); }
};

void prepareScratch()
{
    for (const auto &[name, bytes] : QList<std::pair<const char *, QByteArray>>{
             {"page.html", "<html>\r\n<body>\r\n<p class='a'>Caf\xC3\xA9 color</p>\r\n</body>\r\n</html>\r\n"},
             {"script.php", "<?php\necho 'color';\n?>\n"}, {"style.css", "body { color: #FF8000; }\r"},
             {"utf16.js", QByteArray("\xFF\xFE" "v\0a\0r\0 \0x\0;\0\n\0", 16)}, {"latin.tpl", "caf\xE9 cr\xE8me\n"},
             {"binary.htm", QByteArray("\x01\x02\x00\x03", 4)}, {"empty.html", ""}})
        (void)test::writeBytes(scratch + '/' + name, bytes);
    QDir(scratch).mkdir("sub");
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(QColor(0x33, 0x99, 0xCC));
    image.save(scratch + "/picture.bmp");
}

void checkEditor(frmEdit *w)
{
    const QByteArray text = w->RC->Text();
    if (text.size() != w->RC->length())
        fail(QString("Text() has %1 bytes but length() says %2").arg(text.size()).arg(w->RC->length()));
    // Only valid UTF-8 survives the round trip (behind a first character: a leading U+FEFF is no byte-order mark there).
    if (const QByteArray back = QString::fromUtf8('x' + text).toUtf8(); back != 'x' + text) {
        qsizetype at = 0;
        while (at < text.size() && back[at + 1] == text[at]) ++at;
        fail(QString("the document text is not valid UTF-8 near byte %1: %2").arg(at).arg(text.mid(std::max<qsizetype>(0, at - 12), 24).toHex(' ')));
    }
    if (!text.contains(w->RC->SelectedText())) fail("the selected text is not part of the document");
    if (w->documentPath().isEmpty()) fail("status-bar panel 1 is empty");
    if (!w->isUntitled() && !w->documentPath().startsWith(scratch + '/'))
        fail("the document path left the scratch folder: " + w->documentPath());
}

// A key press and release with the character a keyboard would give, or text as an input method
// delivers it (QTest's key clicks refuse keys without an ASCII form, such as Insert).
void sendKey(QWidget *target, Qt::Key key, Qt::KeyboardModifiers modifiers, QString text = {})
{
    if (key < 0x7F && !(modifiers & Qt::ControlModifier))
        text = modifiers & Qt::ShiftModifier ? QChar(key) : QChar(key).toLower();
    for (const auto type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, key, modifiers, text);
        QApplication::sendEvent(target, &event);
    }
}

void typeKeys(QWidget *target)
{
    if (chance(15)) {
        const QString text = pick(QStringList{"é", "€", "😀", "Straße", "<b>", "color", "\t", "ő"});
        currentEvent += " \"" + text + "\"";
        return sendKey(target, Qt::Key_unknown, {}, text);
    }
    using namespace Qt;
    const QList keys{Key_A, Key_Z, Key_Less, Key_Greater, Key_Return, Key_Backspace, Key_Delete, Key_Tab, Key_Left, Key_Right,
                     Key_Up, Key_Down, Key_Home, Key_End, Key_PageDown, Key_Insert, Key_C, Key_V, Key_Y};
    const QList<KeyboardModifiers> modifiers{NoModifier, NoModifier, NoModifier, ShiftModifier, ControlModifier, ShiftModifier | ControlModifier};
    for (int n = 1 + below(5); n > 0; --n) {
        const Qt::Key key = pick(keys);
        const KeyboardModifiers m = pick(modifiers);
        currentEvent += " " + QKeySequence(key | m).toString();
        sendKey(target, key, m);
    }
}

// Nothing the program shows may be a real modal dialog: everything asks through the Prompter.
void closeModalDialogs()
{
    while (QWidget *modal = QApplication::activeModalWidget()) {
        fail(QString("a real dialog opened: %1 \"%2\"").arg(modal->metaObject()->className(), modal->windowTitle()));
        modal->close();
        QApplication::processEvents();
    }
}

// A click (or text) on a random visible, enabled control of any window of the program.
void clickControl()
{
    QList<QWidget *> targets;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (!top->isVisible()) continue;
        if (auto *replace = qobject_cast<frmReplace *>(top)) { // its runs may only ever see files of the scratch folder
            if (replace->Dir1->path() != scratch) replace->Dir1->setPath(scratch);
            for (int i = replace->List1->count() - 1; i >= 0; --i)
                if (QListWidgetItem *item = replace->List1->item(i); !item->text().startsWith(scratch + '/')) {
                    fail("the replace window listed a file outside its folder: " + item->text());
                    delete item;
                }
        }
        // No combo (its popup) and no folder tree (it would leave the scratch folder).
        for (QWidget *c : top->findChildren<QWidget *>())
            if (c->isVisible() && c->isEnabled() && !qobject_cast<QComboBox *>(c) && !qobject_cast<QTreeWidget *>(c->parentWidget())
                && (qobject_cast<QAbstractButton *>(c) || qobject_cast<QListWidget *>(c) || qobject_cast<QLineEdit *>(c)
                    || qobject_cast<QTabBar *>(c) || c->inherits("kestrin::PictureSurface")))
                targets << c;
    }
    if (targets.isEmpty()) return;
    QWidget *c = pick(targets);
    currentEvent = QString("%1 %2 in %3").arg(c->metaObject()->className(), c->objectName().isEmpty() ? c->accessibleName() : c->objectName(), c->window()->objectName());
    if (auto *list = qobject_cast<QListWidget *>(c); list && list->count() > 0) {
        QListWidgetItem *item = list->item(below(list->count()));
        list->scrollToItem(item);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
        if (chance(20)) sendKey(list, pick(QList{Qt::Key_Down, Qt::Key_Up, Qt::Key_Home, Qt::Key_End}), Qt::NoModifier);
    } else if (auto *bar = qobject_cast<QTabBar *>(c); bar && bar->count() > 0) {
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(below(bar->count())).center());
    } else if (auto *edit = qobject_cast<QLineEdit *>(c)) {
        if (chance(30)) edit->clear();
        sendKey(edit, Qt::Key_unknown, {}, pick(QStringList{"color", "colour", "<!-- x -->", "é", "#FF8000", "", "a"}));
    } else if (c->inherits("kestrin::PictureSurface")) {
        const QPoint from = somewhere(c);
        QTest::mousePress(c, Qt::LeftButton, {}, from);
        QTest::mouseMove(c, from + QPoint(below(21) - 10, below(21) - 10));
        QTest::mouseRelease(c, Qt::LeftButton, {}, from);
    } else if (qobject_cast<QAbstractButton *>(c)) {
        QTest::mouseClick(c, Qt::LeftButton);
    }
}

void oneEvent(frmEdit *w)
{
    const int kind = below(100);
    if (kind < 25) {
        currentEvent = "keys in the editor";
        w->RC->editorWidget()->setFocus();
        typeKeys(w->RC->editorWidget());
    } else if (kind < 33) {
        currentEvent = "click in the editor";
        QWidget *editor = w->RC->editorWidget();
        QTest::mouseClick(editor, Qt::LeftButton, chance(20) ? Qt::ShiftModifier : Qt::NoModifier, somewhere(editor));
    } else if (kind < 45) {
        QList<QAction *> actions;
        for (QAction *top : w->menuBar()->actions())
            for (QAction *a : top->menu() ? top->menu()->actions() : QList<QAction *>())
                if (!a->isSeparator() && a->isEnabled() && (a != w->mnuExit || chance(10))) actions << a;
        if (!actions.isEmpty()) {
            QAction *a = pick(actions);
            currentEvent = "menu " + a->text();
            a->trigger();
        }
    } else {
        clickControl();
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    bool given = false;
    const quint32 asked = qgetenv("KESTRIN_MONKEY_SEED").toUInt(&given), seed = given ? asked : QRandomGenerator::system()->generate();
    const int wanted = qEnvironmentVariableIntValue("KESTRIN_MONKEY_EVENTS", &given), events = given ? wanted : 3000;
    rng.seed(seed);
    std::printf("monkey: seed %u, %d events (replay with KESTRIN_MONKEY_SEED=%u)\n", seed, events, seed);
    std::fflush(stdout);
    QTemporaryDir folder;
    scratch = QDir(folder.path()).canonicalPath();
    qputenv("XDG_STATE_HOME", (scratch + "/.state").toUtf8()); // the windows' recovery journals
    prepareScratch();
    QDir::setCurrent(scratch); // where the replace window starts
    RandomPrompter prompter;
    Prompter::setInstance(&prompter);
    test::RecordingDesktop desktop; // File > New starts a new process: only recorded
    QTimer modalWatch; // a real modal dialog would run its own event loop inside an event: this timer fires there too
    modalWatch.callOnTimeout(&closeModalDialogs), modalWatch.start(200);
    QPointer<frmEdit> w;
    for (eventNumber = 1; eventNumber <= events && failures == 0; ++eventNumber) {
        if (!w || !w->isVisible()) { // Exit closed the window: a new start of the program
            delete w;
            w = new frmEdit;
            w->show();
            if (!QTest::qWaitForWindowExposed(w))
                return std::fprintf(stderr, "monkey: the editor window never appeared (is there an X display?)\n"), 1;
        }
        if (!currentEvent.isEmpty()) trail = trail.mid(trail.size() - 29) << currentEvent;
        currentEvent.clear();
        oneEvent(w);
        QApplication::processEvents();
        closeModalDialogs();
        if (w && w->isVisible()) checkEditor(w);
    }
    for (QWidget *top : QApplication::topLevelWidgets()) top->close();
    delete w;
    QApplication::processEvents();
    Prompter::setInstance(nullptr);
    std::printf("monkey: %s; %d new-process requests\n", failures ? "FAILED" : "all checks held", int(desktop.started.size()));
    return failures ? 1 : 0;
}

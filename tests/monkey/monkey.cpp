// Random events against a real editor window on a real X display: clicks on the side panel's
// lists, tabs and buttons, the toolbar and the tool windows, menu commands, typed keys and
// selections. Dialogs are answered at random by a prompter that never opens one. After every
// event the document must still be consistent with what the component reports.
//   KESTRIN_MONKEY_SEED=n    replay a run (the seed is printed at the start)
//   KESTRIN_MONKEY_EVENTS=n  how many events (default 3000)
// Exit status 0: every check held; 1: a check failed (the event and seed are printed).
#include "common/Desktop.h"
#include "common/Prompter.h"
#include "editor/component/CodeEdit.h"
#include "editor/frmEdit.h"
#include "replace/FolderList.h"
#include "replace/frmReplace.h"
#include "snippets/SidePanel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QPointer>
#include <QRandomGenerator>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <cstdio>

using namespace kestrin;

namespace {

QRandomGenerator rng;
QString scratch;          // every file the run may touch lives here
int failures = 0;
QString currentEvent;
QMap<QString, int> eventsByKind; // for the summary: what the run exercised

void fail(const QString &what)
{
    ++failures;
    std::fprintf(stderr, "MONKEY FAILURE after event \"%s\": %s\n", qPrintable(currentEvent), qPrintable(what));
}

template <typename T>
const T &pick(const QList<T> &list) { return list.at(int(rng.bounded(quint32(list.size())))); }

bool chance(int percent) { return int(rng.bounded(100u)) < percent; }

// Answers every question at random; files only ever come from or go to the scratch folder.
class RandomPrompter final : public Prompter {
public:
    Answer askYesNoCancel(QWidget *, const QString &, const QString &) override
    {
        return pick(QList<Answer>{Answer::Yes, Answer::No, Answer::Cancel});
    }
    Answer askYesNo(QWidget *, const QString &, const QString &) override
    {
        return pick(QList<Answer>{Answer::Yes, Answer::No});
    }
    int choose(QWidget *, Icon, const QString &, const QString &, const QStringList &buttons) override
    {
        return int(rng.bounded(quint32(buttons.size())));
    }
    void message(QWidget *, Icon, const QString &, const QString &) override {}
    std::optional<QString> inputText(QWidget *, const QString &, const QString &) override
    {
        if (chance(30))
            return std::nullopt;
        return pick(QStringList{"1", "3", "0", "-5", " 2 ", "2.5", "abc", "", "99999999999", "7"});
    }
    std::optional<FileAnswer> chooseFile(QWidget *, const FileRequest &request) override
    {
        if (chance(35))
            return std::nullopt;
        FileAnswer a;
        if (request.save) {
            a.path = scratch + '/' + pick(QStringList{"saved.html", "saved.php", "notes.txt", "sub/x.css", "page.html"});
        } else {
            const QStringList files = QDir(scratch).entryList(QDir::Files);
            if (files.isEmpty())
                return std::nullopt;
            a.path = scratch + '/' + pick(files);
        }
        a.filterIndex = int(rng.bounded(1u, 4u));
        return a;
    }
    std::optional<QFont> chooseFont(QWidget *, const QFont &) override
    {
        if (chance(40))
            return std::nullopt;
        return QFont(pick(QStringList{"Liberation Sans", "Liberation Mono", "Liberation Serif"}), int(rng.bounded(6u, 30u)));
    }
    std::optional<QColor> chooseColor(QWidget *, const QColor &) override
    {
        if (chance(40))
            return std::nullopt;
        return QColor::fromRgb(rng.bounded(256u), rng.bounded(256u), rng.bounded(256u));
    }
};

// File > New starts a new process of the editor; here it is only counted.
class CountingDesktop final : public Desktop {
public:
    bool startDetached(const QString &, const QStringList &) override { ++started; return true; }
    int started = 0;
};

void prepareScratch()
{
    auto write = [](const QString &name, const QByteArray &bytes) {
        QFile f(scratch + '/' + name);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    };
    write("page.html", "<html>\r\n<body>\r\n<p class='a'>Caf\xC3\xA9 color</p>\r\n</body>\r\n</html>\r\n");
    write("script.php", "<?php\necho 'color';\n?>\n");
    write("style.css", "body { color: #FF8000; }\r");
    static const char utf16[] = "\xFF\xFE" "v\0a\0r\0 \0x\0;\0\n\0";
    write("utf16.js", QByteArray(utf16, sizeof utf16 - 1));
    write("latin.tpl", "caf\xE9 cr\xE8me\n");
    write("binary.htm", QByteArray("\x01\x02\x00\x03", 4));
    write("empty.html", "");
    QDir(scratch).mkdir("sub");
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(QColor(0x33, 0x99, 0xCC));
    image.save(scratch + "/picture.bmp");
}

bool validUtf8(const QByteArray &text)
{
    // Every invalid byte would come back as U+FFFD, so only valid UTF-8 survives the round trip
    // (behind a first character, so that a leading U+FEFF is not taken for a byte-order mark).
    const QByteArray probe = 'x' + text;
    return QString::fromUtf8(probe).toUtf8() == probe;
}

void checkEditor(frmEdit *w)
{
    const QByteArray text = w->RC->Text();
    if (text.size() != w->RC->length())
        fail(QString("Text() has %1 bytes but length() says %2").arg(text.size()).arg(w->RC->length()));
    if (!validUtf8(text))
        fail("the document text is not valid UTF-8");
    const QByteArray selected = w->RC->SelectedText();
    if (!text.contains(selected))
        fail("the selected text is not part of the document");
    const QString path = w->documentPath();
    if (path.isEmpty())
        fail("status-bar panel 1 is empty");
    // Every file the prompter offers lies in the scratch folder: no other document can be open.
    if (!w->isUntitled() && !path.startsWith(scratch + '/'))
        fail("the document path left the scratch folder: " + path);
}

// Clicks at a random visible spot of a random visible row.
void clickList(QListWidget *list)
{
    if (list->count() == 0 || !list->isVisible())
        return;
    QListWidgetItem *item = list->item(int(rng.bounded(quint32(list->count()))));
    list->scrollToItem(item);
    const QRect r = list->visualItemRect(item);
    if (!r.isValid())
        return;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

void clickSomewhere(QWidget *widget, Qt::MouseButton button = Qt::LeftButton)
{
    if (widget->width() <= 0 || widget->height() <= 0)
        return;
    const QPoint at(int(rng.bounded(quint32(widget->width()))), int(rng.bounded(quint32(widget->height()))));
    QTest::mouseClick(widget, button, chance(20) ? Qt::ShiftModifier : Qt::NoModifier, at);
}

// A key press and release with the text a keyboard would give (QTest's own key clicks refuse keys
// that have no ASCII form, such as Insert).
void sendKey(QWidget *target, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QString text;
    if (key >= Qt::Key_A && key <= Qt::Key_Z && !(modifiers & Qt::ControlModifier))
        text = QChar(char16_t((modifiers & Qt::ShiftModifier ? u'A' : u'a') + (key - Qt::Key_A)));
    else if (key == Qt::Key_Less)
        text = QStringLiteral("<");
    else if (key == Qt::Key_Greater)
        text = QStringLiteral(">");
    else if (key == Qt::Key_Return)
        text = QStringLiteral("\r");
    else if (key == Qt::Key_Tab)
        text = QStringLiteral("\t");
    else if (key == Qt::Key_Backspace)
        text = QStringLiteral("\b");
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &release);
}

// Typed text as an input method delivers it: one key event carrying all its characters.
void typeText(QWidget *target, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

void typeKeys(QWidget *target)
{
    static const QList<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys = {
        {Qt::Key_A, {}}, {Qt::Key_Z, {}}, {Qt::Key_Less, Qt::ShiftModifier}, {Qt::Key_Greater, Qt::ShiftModifier},
        {Qt::Key_Return, {}}, {Qt::Key_Backspace, {}}, {Qt::Key_Delete, {}}, {Qt::Key_Tab, {}},
        {Qt::Key_Left, {}}, {Qt::Key_Right, {}}, {Qt::Key_Up, {}}, {Qt::Key_Down, {}},
        {Qt::Key_Home, {}}, {Qt::Key_End, {}}, {Qt::Key_PageDown, {}}, {Qt::Key_Insert, {}},
        {Qt::Key_Left, Qt::ShiftModifier}, {Qt::Key_Right, Qt::ShiftModifier}, {Qt::Key_Up, Qt::ShiftModifier},
        {Qt::Key_End, Qt::ShiftModifier}, {Qt::Key_Home, Qt::ShiftModifier | Qt::ControlModifier},
        {Qt::Key_A, Qt::ControlModifier}, {Qt::Key_C, Qt::ControlModifier}, {Qt::Key_V, Qt::ControlModifier},
        {Qt::Key_Z, Qt::ControlModifier}, {Qt::Key_Y, Qt::ControlModifier}, {Qt::Key_Insert, Qt::ControlModifier},
        {Qt::Key_Insert, Qt::ShiftModifier}, {Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier},
    };
    if (chance(15)) {
        typeText(target, pick(QStringList{"é", "€", "😀", "Straße", "<b>", "color", "\t", "ő"}));
        return;
    }
    const int n = int(rng.bounded(1u, 6u));
    for (int i = 0; i < n; ++i) {
        const auto &[key, modifiers] = pick(keys);
        sendKey(target, key, modifiers);
    }
}

QList<QAction *> menuActions(QMainWindow *w)
{
    QList<QAction *> out;
    for (QAction *top : w->menuBar()->actions()) {
        if (!top->menu())
            continue;
        for (QAction *a : top->menu()->actions()) {
            if (!a->isSeparator() && a->isEnabled())
                out << a;
        }
    }
    return out;
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

// The replace window's runs may only ever see files of the scratch folder.
void keepReplaceInScratch(frmReplace *r)
{
    for (int i = r->List1->count() - 1; i >= 0; --i) {
        if (!r->List1->item(i)->text().startsWith(scratch + '/')) {
            fail("the replace window listed a file outside its folder: " + r->List1->item(i)->text());
            delete r->List1->takeItem(i);
        }
    }
}

void oneEvent(QPointer<frmEdit> &w)
{
    const int kind = int(rng.bounded(100u));
    if (kind < 22) {
        currentEvent = "keys in the editor";
        w->RC->editorWidget()->setFocus();
        typeKeys(w->RC->editorWidget());
    } else if (kind < 30) {
        currentEvent = "click in the editor";
        clickSomewhere(w->RC->editorWidget());
    } else if (kind < 50) {
        // A row of a snippet list on the shown page, or another page.
        QList<QListWidget *> lists;
        for (QListWidget *l : w->SSTab1->findChildren<QListWidget *>())
            if (l->isVisible())
                lists << l;
        if (lists.isEmpty() || chance(15)) {
            currentEvent = "side-panel page";
            w->SSTab1->setCurrentPage(int(rng.bounded(10u)));
            if (auto *bar = w->SSTab1->findChild<QTabBar *>(); bar && bar->count() > 0 && chance(50))
                QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(int(rng.bounded(quint32(bar->count())))).center());
        } else {
            QListWidget *list = pick(lists);
            currentEvent = "row of " + list->objectName();
            clickList(list);
            if (chance(20)) {
                list->setFocus();
                sendKey(list, pick(QList<Qt::Key>{Qt::Key_Down, Qt::Key_Up, Qt::Key_Home, Qt::Key_End}), Qt::NoModifier);
            }
        }
    } else if (kind < 62) {
        QList<QAbstractButton *> buttons;
        for (QAbstractButton *b : w->SSTab1->findChildren<QAbstractButton *>())
            if (b->isVisible() && b->isEnabled())
                buttons << b;
        if (buttons.isEmpty())
            return;
        QAbstractButton *b = pick(buttons);
        currentEvent = "side-panel button " + b->text();
        QTest::mouseClick(b, Qt::LeftButton);
    } else if (kind < 74) {
        QList<QWidget *> tools;
        for (QAction *a : w->Toolbar1->actions())
            if (QWidget *t = w->Toolbar1->widgetForAction(a); t && !a->isSeparator() && t->isVisible() && t->isEnabled())
                tools << t;
        if (tools.isEmpty())
            return;
        QWidget *t = pick(tools);
        currentEvent = "toolbar " + t->accessibleName() + " " + t->toolTip();
        QTest::mouseClick(t, Qt::LeftButton);
    } else if (kind < 84) {
        const QList<QAction *> actions = menuActions(w);
        if (actions.isEmpty())
            return;
        QAction *a = pick(actions);
        if (a == w->mnuExit && !chance(10))
            return;
        currentEvent = "menu " + a->text();
        a->trigger();
    } else {
        // The tool windows: whatever of them is open gets clicks and text; sometimes closed.
        QList<QWidget *> tools;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->isVisible() && top != w && (top->inherits("kestrin::frmColor") || top->inherits("kestrin::frmReplace")))
                tools << top;
        if (tools.isEmpty()) {
            currentEvent = "open a tool window";
            (chance(50) ? w->SSTab1->Command6 : w->SSTab1->Command7)->click();
            return;
        }
        QWidget *tool = pick(tools);
        if (chance(8)) {
            currentEvent = QString("close ") + tool->metaObject()->className();
            tool->close();
            return;
        }
        auto *replace = qobject_cast<frmReplace *>(tool);
        if (replace && replace->Dir1->path() != scratch)
            replace->Dir1->setPath(scratch);
        QList<QWidget *> targets;
        for (QWidget *c : tool->findChildren<QWidget *>()) {
            // No combo (its popup) and no folder list (opening a folder would leave the scratch).
            if (!c->isVisible() || !c->isEnabled() || qobject_cast<QComboBox *>(c) || qobject_cast<QTreeWidget *>(c)
                || (c->parentWidget() && qobject_cast<QTreeWidget *>(c->parentWidget())))
                continue;
            if (qobject_cast<QAbstractButton *>(c) || qobject_cast<QListWidget *>(c) || qobject_cast<QLineEdit *>(c)
                || c->inherits("kestrin::PictureSurface"))
                targets << c;
        }
        if (targets.isEmpty())
            return;
        QWidget *c = pick(targets);
        currentEvent = QString("%1 in %2").arg(c->metaObject()->className(), tool->metaObject()->className());
        if (replace)
            keepReplaceInScratch(replace);
        if (auto *list = qobject_cast<QListWidget *>(c)) {
            clickList(list);
        } else if (auto *edit = qobject_cast<QLineEdit *>(c)) {
            edit->setFocus();
            if (chance(30))
                edit->clear();
            typeText(edit, pick(QStringList{"color", "colour", "<!-- x -->", "é", "#FF8000", "", "a"}));
        } else if (c->inherits("kestrin::PictureSurface")) {
            const QPoint from(int(rng.bounded(quint32(qMax(1, c->width())))), int(rng.bounded(quint32(qMax(1, c->height())))));
            QTest::mousePress(c, Qt::LeftButton, {}, from);
            QTest::mouseMove(c, from + QPoint(int(rng.bounded(21u)) - 10, int(rng.bounded(21u)) - 10));
            QTest::mouseRelease(c, Qt::LeftButton, {}, from);
        } else {
            QTest::mouseClick(c, Qt::LeftButton);
        }
        if (replace && !replace->isVisible())
            return;
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    bool seedGiven = false;
    const quint32 seed = qEnvironmentVariableIsSet("KESTRIN_MONKEY_SEED")
                             ? quint32(qEnvironmentVariableIntValue("KESTRIN_MONKEY_SEED", &seedGiven))
                             : QRandomGenerator::system()->generate();
    const int events = qEnvironmentVariableIsSet("KESTRIN_MONKEY_EVENTS") ? qEnvironmentVariableIntValue("KESTRIN_MONKEY_EVENTS") : 3000;
    rng.seed(seed);
    std::printf("monkey: seed %u, %d events (replay with KESTRIN_MONKEY_SEED=%u)\n", seed, events, seed);
    std::fflush(stdout);

    QTemporaryDir folder;
    scratch = QDir(folder.path()).canonicalPath();
    prepareScratch();
    // The replace window starts in the current folder: make that the scratch folder.
    QDir::setCurrent(scratch);
    RandomPrompter prompter;
    Prompter::setInstance(&prompter);
    CountingDesktop desktop;
    Desktop::setInstance(&desktop);

    // A real modal dialog would run its own event loop inside an event: this timer fires there too.
    QTimer modalWatch;
    QObject::connect(&modalWatch, &QTimer::timeout, &closeModalDialogs);
    modalWatch.start(200);

    QPointer<frmEdit> w = new frmEdit;
    w->show();
    if (!QTest::qWaitForWindowExposed(w)) {
        std::fprintf(stderr, "monkey: the editor window never appeared (is there an X display?)\n");
        return 1;
    }

    for (int i = 0; i < events && failures == 0; ++i) {
        if (!w || !w->isVisible()) {
            // Exit closed the window: a new start of the program.
            delete w;
            w = new frmEdit;
            w->show();
            (void)QTest::qWaitForWindowExposed(w);
        }
        currentEvent.clear();
        oneEvent(w);
        if (!currentEvent.isEmpty())
            ++eventsByKind[currentEvent.section(' ', 0, 1)];
        QApplication::processEvents();
        closeModalDialogs();
        if (w && w->isVisible())
            checkEditor(w);
        if (failures)
            std::fprintf(stderr, "event %d of seed %u\n", i + 1, seed);
    }
    for (QWidget *top : QApplication::topLevelWidgets())
        top->close();
    delete w;
    QApplication::processEvents();
    Prompter::setInstance(nullptr);
    Desktop::setInstance(nullptr);
    for (auto it = eventsByKind.cbegin(); it != eventsByKind.cend(); ++it)
        std::printf("  %5d  %s\n", it.value(), qPrintable(it.key()));
    std::printf("monkey: %s; %d new-process requests\n", failures ? "FAILED" : "all checks held", desktop.started);
    return failures ? 1 : 0;
}

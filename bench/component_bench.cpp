// The editor window's commands on a large document, end to end: each figure is the command as the
// window runs it (through the side panel and the component) followed by the paint it causes,
// so what is counted is what the user waits for. Run on a real display (xvfb) so the
// repaint draws glyphs; QT_QPA_PLATFORM=offscreen works too.
//
//   component_bench DOCUMENT [SCRATCH_FOLDER]
// Prints one "figure milliseconds" line per figure; the save figures copy DOCUMENT into
// SCRATCH_FOLDER (the document's folder by default) and time cp and cp + sync there as well.
#include "StderrPrompter.h"
#include "document/JournalWriter.h"
#include "editor/component/CodeEdit.h"
#include "editor/component/HtmlLexer.h"
#include "editor/frmEdit.h"
#include "snippets/SidePanel.h"
#include "textutil/CharacterReferences.h"

#include "app/ProcessPolicy.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QListWidget>
#include <QProcess>
#include <ILexer.h>
#include <LexerModule.h>
#include <ScintillaEditBase.h>

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// Lexilla's HTML lexer module, without this program's limit.
extern const Lexilla::LexerModule lmHTML;

namespace {

// CPU time (user + system) of this process in milliseconds.
double cpuMs()
{
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return double(r.ru_utime.tv_sec + r.ru_stime.tv_sec) * 1e3 + double(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e3;
}

double msSince(const QElapsedTimer &t) { return double(t.nsecsElapsed()) / 1e6; }

// The median of a few runs: single runs on a shared machine jump by tens of percent.
double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void print(const char *figure, double ms) { std::printf("%s %.2f\n", figure, ms); std::fflush(stdout); }

void key(QWidget *w, int k, Qt::KeyboardModifiers m = Qt::NoModifier, const QString &text = QString())
{
    QKeyEvent press(QEvent::KeyPress, k, m, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, k, m, text);
    QApplication::sendEvent(w, &release);
}

// The process's resident memory: what a command adds to it is memory touched for the first time,
// which on a virtual machine costs more than the work done in it.
double statusMB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}
double residentMB() { return statusMB("VmRSS:"); }

double runShell(const char *command)
{
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.start(QStringLiteral("sh"), {QStringLiteral("-c"), QString::fromLocal8Bit(command)});
    p.waitForFinished(-1);
    return msSince(t);
}

// Lets idle styling finish (it styles what is shown, then the rest in idle time).
void settle(int ms)
{
    QElapsedTimer idle;
    idle.start();
    while (idle.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
}

// A document that is one long line: CPU time and wall time of a keystroke at the end and in the
// middle (at the /*MID*/ marker), of scrolling along the line and of Undo, each with its repaint.
template <typename Paint>
int bundleFigures(ScintillaEditBase *sci, Paint paint)
{
    settle(2000);
    const long length = sci->send(SCI_GETLENGTH);
    const QByteArray head = QByteArray::fromRawData(
        reinterpret_cast<const char *>(sci->send(SCI_GETCHARACTERPOINTER)), length);
    const long middle = std::max<long>(0, long(head.indexOf("/*MID*/")));
    QElapsedTimer t;
    auto typeAt = [&](const char *name, long pos) {
        sci->send(SCI_GOTOPOS, pos);
        paint();
        settle(1000);
        std::vector<double> cpu, wall;
        const int keys = std::max(1, qEnvironmentVariableIntValue("BUNDLE_KEYS") > 0 ? qEnvironmentVariableIntValue("BUNDLE_KEYS") : 5);
        for (int i = 0; i < keys; ++i) {
            const double c0 = cpuMs();
            t.restart();
            key(sci, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
            paint();
            wall.push_back(msSince(t));
            cpu.push_back(cpuMs() - c0);
        }
        print((std::string(name) + "_cpu").c_str(), median(cpu));
        print((std::string(name) + "_wall").c_str(), median(wall));
        // Undo of the last key, to its repaint.
        const double c0 = cpuMs();
        t.restart();
        sci->send(SCI_UNDO);
        paint();
        print((std::string(name) + "_undo_wall").c_str(), msSince(t));
        print((std::string(name) + "_undo_cpu").c_str(), cpuMs() - c0);
        for (int i = 1; i < keys; ++i)
            sci->send(SCI_UNDO);
        paint();
    };
    typeAt("bundle_key_end", length);
    if (qEnvironmentVariableIntValue("BUNDLE_KEYS_ONLY") > 0)
        return 0;
    typeAt("bundle_key_middle", middle);
    // Scrolling along the line: the view moved sideways by a page, ten times, each painted.
    std::vector<double> scrolls;
    const long start = sci->send(SCI_GETXOFFSET);
    for (int i = 1; i <= 10; ++i) {
        t.restart();
        sci->send(SCI_SETXOFFSET, start + i * 800);
        paint();
        scrolls.push_back(msSince(t));
    }
    print("bundle_scroll_page", median(scrolls));
    return 0;
}

double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// The first change of a freshly loaded document (the journal begins: GUI thread time and CPU),
// then keys at the end: CPU of the whole process (the writing thread and its syncs included) and
// the journal's bytes a key; the peak memory against the file.
template <typename Paint>
int journalFigures(kestrin::CodeEdit *rc, QWidget *editor, Paint paint, const QString &document)
{
    settle(1000);
    key(editor, Qt::Key_End, Qt::ControlModifier);
    paint();
    settle(1000);
    QElapsedTimer t;
    const double c0 = threadCpuMs();
    t.start();
    key(editor, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    paint();
    print("journal_first_change_wall", msSince(t));
    print("journal_first_change_gui_cpu", threadCpuMs() - c0);
    // Without a journal (NO_JOURNAL=1) the same keys, for comparison.
    kestrin::JournalWriter *journal = rc->document()->journal();
    const auto flush = [&] {
        if (journal)
            journal->flush();
    };
    flush();
    const QString path = journal ? journal->journalPath() : QString();
    const qint64 before = QFileInfo(path).size();
    constexpr int keys = 200;
    const double p0 = cpuMs();
    for (int i = 0; i < keys; ++i) {
        key(editor, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        paint();
    }
    flush();
    print("journal_key_end_cpu", (cpuMs() - p0) / keys);
    print("journal_bytes_per_key", double(QFileInfo(path).size() - before) / keys);
    print("journal_peak_x_file", statusMB("VmHWM:") / (double(QFileInfo(document).size()) / (1 << 20)));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    kestrin::applyHeapPolicy();
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: component_bench DOCUMENT [SCRATCH_FOLDER]\n");
        return 2;
    }
    const QString document = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const QString scratch = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QFileInfo(document).absolutePath();
    // BARE=1: the bundle figures of a plain Scintilla editor (its default settings but for a
    // monospaced font, checked as such), none of this program's code: the engine's own floor. BARE=html adds
    // Lexilla's HTML lexer colouring whole lines, BARE=limited the same lexer as this program
    // gives it, colouring the first 64 KB of a line.
    if (qEnvironmentVariableIsSet("BARE")) {
        ScintillaEditBase bare;
        if (qgetenv("BARE") == "html")
            bare.send(SCI_SETILEXER, 0, reinterpret_cast<sptr_t>(lmHTML.Create()));
        else if (qgetenv("BARE") == "limited")
            bare.send(SCI_SETILEXER, 0, reinterpret_cast<sptr_t>(kestrin::createHtmlLexer()));
        bare.sends(SCI_STYLESETFONT, STYLE_DEFAULT, "Liberation Mono");
        bare.send(SCI_STYLESETCHECKMONOSPACED, STYLE_DEFAULT, 1);
        bare.send(SCI_STYLECLEARALL);
        bare.send(SCI_SETCODEPAGE, SC_CP_UTF8);
        QFile file(document);
        if (!file.open(QIODevice::ReadOnly))
            return 1;
        const QByteArray text = file.readAll() + '\0';
        bare.sends(SCI_SETTEXT, 0, text.constData());
        bare.send(SCI_EMPTYUNDOBUFFER);
        bare.resize(1000, 700);
        bare.show();
        return bundleFigures(&bare, [] {
            QCoreApplication::sendPostedEvents();
            QApplication::processEvents();
        });
    }
    // The window's recovery journals go to the scratch folder, never the home.
    qputenv("XDG_STATE_HOME", QFile::encodeName(QDir(scratch).filePath(QStringLiteral("component-bench-state"))));
    kestrin::bench::StderrPrompter prompter(kestrin::Prompter::Answer::No);
    kestrin::Prompter::setInstance(&prompter);

    QElapsedTimer shown;
    shown.start();
    kestrin::frmEdit window;
    const double constructed = msSince(shown);
    window.resize(1000, 750);
    window.show();
    QApplication::processEvents();
    print("window_constructed", constructed);
    print("window_shown", msSince(shown));
    kestrin::CodeEdit *rc = window.RC;
    kestrin::SidePanel *panel = window.SSTab1;
    QWidget *editor = rc->editorWidget();
    // What the window paints after a change: the region the change made dirty, through the
    // event loop as a user's keystroke gets it.
    auto paint = [&] {
        QCoreApplication::sendPostedEvents();
        QApplication::processEvents();
    };

    QElapsedTimer t;
    t.start();
    if (!rc->LoadFile(document)) {
        std::fprintf(stderr, "cannot load %s: %s\n", argv[1], qPrintable(rc->document()->lastError()));
        return 1;
    }
    paint();
    print("load_and_paint", msSince(t));

    // BUNDLE=1: DOCUMENT is a one-line minified bundle; its figures only.
    if (qEnvironmentVariableIntValue("BUNDLE") > 0)
        return bundleFigures(static_cast<ScintillaEditBase *>(editor), paint);

    // JOURNAL=1: the recovery journal's figures on a freshly loaded document, then stop; NO_JOURNAL=1
    // runs everything with the journal off (button 40 without it, for the ratio).
    if (qEnvironmentVariableIntValue("NO_JOURNAL") > 0)
        rc->keepJournalIn(QString());
    if (qEnvironmentVariableIntValue("JOURNAL") > 0)
        return journalFigures(rc, editor, paint, document);

    // BUTTON40_ONLY=1 runs button 40 and its undo right after the load and stops: a run to profile.
    const bool button40Only = qEnvironmentVariableIntValue("BUTTON40_ONLY") > 0;
    auto button40 = [&] {
        // Button 40: every special character to its reference, as one undo step; then Undo.
        const double rss = residentMB();
        rusage r0{}, r1{};
        getrusage(RUSAGE_SELF, &r0);
        t.restart();
        panel->C6_Click(kestrin::ReplaceButtonIndex);
        paint();
        print("button40", msSince(t));
        getrusage(RUSAGE_SELF, &r1);
        // How much of it was the kernel handing out (and zeroing) fresh memory.
        print("button40_system", double(r1.ru_stime.tv_sec - r0.ru_stime.tv_sec) * 1e3
                                     + double(r1.ru_stime.tv_usec - r0.ru_stime.tv_usec) / 1e3);
        print("button40_resident_growth_MB", residentMB() - rss);
        t.restart();
        rc->Undo();
        paint();
        print("button40_undo", msSince(t));
    };
    if (button40Only) {
        button40();
        return 0;
    }

    // A keystroke in the middle, to its repaint; then Backspace takes it away again.
    rc->GoToLine(1 + rc->Text().count('\n') / 2);
    paint();
    // The first key right after the jump, while Scintilla still styles the text before the
    // visible lines in idle time (shown for information); then the keys once that is done.
    t.restart();
    key(editor, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    paint();
    print("keystroke_middle_while_styling", msSince(t));
    key(editor, Qt::Key_Backspace);
    QElapsedTimer idle;
    idle.start();
    while (idle.elapsed() < 3000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    std::vector<double> keys;
    // KEYSTROKES=n types n keys here and stops: a run to profile the keystroke alone.
    const int keystrokes = qEnvironmentVariableIntValue("KEYSTROKES");
    for (int i = 0; i < (keystrokes > 0 ? keystrokes : 9); ++i) {
        t.restart();
        key(editor, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        paint();
        keys.push_back(msSince(t));
        key(editor, Qt::Key_Backspace);
        paint();
    }
    print("keystroke_middle", median(keys));
    if (keystrokes > 0)
        return 0;

    // For scale: repainting the whole editor with nothing changed.
    std::vector<double> repaints;
    for (int i = 0; i < 5; ++i) {
        t.restart();
        editor->repaint();
        repaints.push_back(msSince(t));
    }
    print("full_repaint", median(repaints));

    std::vector<double> jumps;
    for (int i = 0; i < 3; ++i) {
        key(editor, Qt::Key_Home, Qt::ControlModifier);
        paint();
        t.restart();
        key(editor, Qt::Key_End, Qt::ControlModifier);
        paint();
        jumps.push_back(msSince(t));
    }
    print("jump_to_end", median(jumps));

    // Save: ours (durable: data synced, renamed, folder synced) against cp, and cp + sync.
    const QString copy = QDir(scratch).filePath(QStringLiteral("component-bench-save.tmp"));
    const QString target = QDir(scratch).filePath(QStringLiteral("component-bench-target.tmp"));
    const QByteArray q1 = QFile::encodeName(document), q2 = QFile::encodeName(copy);
    std::vector<double> saves, cps, cpSyncs;
    for (int i = 0; i < 3; ++i) {
        QFile::remove(copy);
        cps.push_back(runShell(("cp '" + q1 + "' '" + q2 + "'").constData()));
        QFile::remove(copy);
        cpSyncs.push_back(runShell(("cp '" + q1 + "' '" + q2 + "' && sync '" + q2 + "'").constData()));
        QFile::remove(copy);
        t.restart();
        if (!rc->SaveFile(target)) {
            std::fprintf(stderr, "save failed: %s\n", qPrintable(rc->document()->lastError()));
            return 1;
        }
        saves.push_back(msSince(t));
    }
    QFile::remove(target);
    print("save", median(saves));
    print("cp", median(cps));
    print("cp_sync", median(cpSyncs));

    button40();

    t.restart();
    panel->Command2_Click();
    paint();
    print("delete_htm_codes", msSince(t));
    t.restart();
    rc->Undo();
    paint();
    print("delete_htm_codes_undo", msSince(t));

    // A snippet inserted at the end of the document, around an empty selection.
    key(editor, Qt::Key_End, Qt::ControlModifier);
    paint();
    panel->L1->setCurrentRow(0);
    t.restart();
    panel->L1_Click();
    paint();
    print("snippet_at_end", msSince(t));
    t.restart();
    rc->Undo();
    paint();
    print("snippet_at_end_undo", msSince(t));
    return 0;
}

// What a sudden end or a failing disk leaves behind: every file is its old or its new content,
// never a mix, never empty, and a failed save says why and keeps the old file. The stops come from
// a preloaded shim (killshim.c) in a child process (safety_worker), so the program has no hooks.
#include "FailingFolder.h"
#include "TestRegistry.h"

#include "editor/component/CodeEdit.h"
#include "document/TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

using namespace kestrin;

namespace {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QStringList visibleEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
}

QStringList allEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden, QDir::Name);
}

bool runCommand(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// A text of about size bytes with the given line end, different for each seed.
QByteArray sampleText(int size, const QByteArray &lineBreak, char seed)
{
    QByteArray out;
    for (int line = 0; out.size() < size; ++line)
        out += "<p class='color" + QByteArray(1, seed) + "'>line " + QByteArray::number(line)
               + " color of the text " + QByteArray(1 + line % 40, seed) + "</p>" + lineBreak;
    return out;
}

struct WorkerRun {
    bool killed = false;
    int exitCode = -1;
    QByteArray errors;
};

struct Shim {
    int at = 0;                  // 0: count only
    QString action = "kill";
    QString calls;               // empty: write, pwrite and rename
    QString under;               // folder whose files count
};

QString helperPath(const char *name)
{
    return QCoreApplication::applicationDirPath() + '/' + QLatin1String(name);
}

// runAs: a user id to run the worker as (root only), -1 for this one.
WorkerRun runWorker(const QStringList &args, const Shim &shim, int runAs = -1)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("LD_PRELOAD", helperPath("libkestrin_killshim.so"));
    // A sanitizer build wants its runtime first; the shim only passes calls on to it.
    const QString asan = env.value("ASAN_OPTIONS");
    env.insert("ASAN_OPTIONS", (asan.isEmpty() ? QString() : asan + ':') + "verify_asan_link_order=0:detect_leaks=0");
    env.insert("KESTRIN_SHIM_AT", QString::number(shim.at));
    env.insert("KESTRIN_SHIM_ACTION", shim.action);
    if (!shim.calls.isEmpty())
        env.insert("KESTRIN_SHIM_CALLS", shim.calls);
    env.insert("KESTRIN_SHIM_UNDER", shim.under);
    QProcess p;
    p.setProcessEnvironment(env);
    if (runAs >= 0)
        p.setChildProcessModifier([runAs] {
            if (::setgid(gid_t(runAs)) != 0 || ::setuid(uid_t(runAs)) != 0)
                ::_exit(2);
        });
    p.start(helperPath("safety_worker"), args);
    WorkerRun r;
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        r.errors = "worker did not finish";
        return r;
    }
    r.killed = p.exitStatus() == QProcess::CrashExit;
    r.exitCode = p.exitCode();
    r.errors = p.readAllStandardError();
    return r;
}

QByteArray utf16le(const QByteArray &utf8)
{
    const QString s = QString::fromUtf8(utf8);
    return QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char *>(s.utf16()), s.size() * 2);
}

// The bytes a save writes for newUtf8 into a file that held oldBytes: its encoding and line ends kept.
QByteArray savedForm(const QByteArray &oldBytes, const QByteArray &newUtf8)
{
    const DecodeResult old = decodeText(oldBytes);
    const EncodeResult saved = encodeText(newUtf8, old.format);
    return saved.ok ? saved.bytes : QByteArray("<cannot encode>");
}

// A file not even root may replace (chattr +i, else a read-only bind mount); undone when destroyed.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const QString &path) : m_path(path)
    {
        if (runCommand("chattr", {"+i", path})) {
            m_ok = m_immutable = true;
            m_how = "chattr +i";
            return;
        }
        if (runCommand("mount", {"--bind", path, path})) {
            m_mounted = true;
            m_ok = runCommand("mount", {"-o", "remount,ro,bind", path});
            m_how = "read-only bind mount";
        }
    }
    ~ReadOnlyFile()
    {
        if (m_immutable)
            runCommand("chattr", {"-i", m_path});
        if (m_mounted)
            runCommand("umount", {m_path});
    }
    bool ok() const { return m_ok; }
    QString how() const { return m_how; }

private:
    QString m_path;
    QString m_how;
    bool m_ok = false;
    bool m_immutable = false;
    bool m_mounted = false;
};

} // namespace

class DataSafetyKill : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        if (!QFileInfo::exists(helperPath("safety_worker")) || !QFileInfo::exists(helperPath("libkestrin_killshim.so")))
            QFAIL("safety_worker or libkestrin_killshim.so missing beside the test");
    }

    // Save stopped at every write and rename in turn.
    void saveStoppedAnywhere_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QByteArray>("oldBytes");
        QTest::addColumn<QByteArray>("newText");
        const QByteArray oldLf = sampleText(150000, "\n", 'a');
        const QByteArray newLf = sampleText(220000, "\n", 'b');
        QTest::newRow("utf8 lf, kill before the call") << "kill" << oldLf << newLf;
        QTest::newRow("utf8 lf, kill halfway through a write") << "killhalf" << oldLf << newLf;
        QTest::newRow("utf8 lf, kill after the call") << "killafter" << oldLf << newLf;
        QTest::newRow("shorter new text, kill halfway") << "killhalf" << newLf << oldLf;
        const QByteArray crlf = sampleText(5000, "\r\n", 'c');
        QTest::newRow("utf16le crlf, kill halfway") << "killhalf" << utf16le(crlf) << sampleText(7000, "\r\n", 'd');
        QTest::newRow("one byte to many, kill halfway") << "killhalf" << QByteArray("x") << newLf;
    }
    void saveStoppedAnywhere()
    {
        QFETCH(QString, action);
        QFETCH(QByteArray, oldBytes);
        QFETCH(QByteArray, newText);
        const QByteArray newBytes = savedForm(oldBytes, newText);
        QVERIFY(newBytes != oldBytes);

        QTemporaryDir scratch;
        const QString textFile = scratch.filePath("new-text");
        QVERIFY(writeFile(textFile, newText));
        QDir(scratch.path()).mkdir("site");
        const QString folder = scratch.filePath("site");
        const QString page = folder + "/page.html";

        int stops = 0;
        for (int n = 1; n <= 100; ++n) {
            QVERIFY(writeFile(page, oldBytes));
            const WorkerRun r = runWorker({"save", page, textFile}, {n, action, {}, folder});
            const QByteArray now = readFile(page);
            QVERIFY2(now == oldBytes || now == newBytes,
                     qPrintable(QString("stop at call %1 left %2 bytes (old %3, new %4)")
                                    .arg(n).arg(now.size()).arg(oldBytes.size()).arg(newBytes.size())));
            QCOMPARE(visibleEntries(folder), QStringList{"page.html"});
            if (!r.killed) {
                QVERIFY2(r.exitCode == 0, r.errors.constData());
                QCOMPARE(now, newBytes);
                QCOMPARE(allEntries(folder), QStringList{"page.html"});
                break;
            }
            ++stops;
            // Clear what the stopped save left, as a new start of the editor would find it.
            for (const QString &e : allEntries(folder))
                if (e != "page.html")
                    QFile::remove(folder + '/' + e);
        }
        QVERIFY2(stops >= 2, "the save was never stopped in the middle: is the shim loaded?");
    }

    // The control: an in-place rewrite stopped the same way is caught leaving a mix or nothing,
    // so the checks above would see a save that is not atomic.
    void plainRewriteIsCaught()
    {
        QTemporaryDir scratch;
        const QString textFile = scratch.filePath("new-text");
        const QByteArray newText = sampleText(20000, "\n", 'n');
        QVERIFY(writeFile(textFile, newText));
        QDir(scratch.path()).mkdir("site");
        const QString folder = scratch.filePath("site");
        const QString page = folder + "/page.html";
        const QByteArray old = sampleText(20000, "\n", 'o');
        int caught = 0;
        for (int n = 1; n <= 20; ++n) {
            QVERIFY(writeFile(page, old));
            const WorkerRun r = runWorker({"plainsave", page, textFile}, {n, "killhalf", {}, folder});
            const QByteArray now = readFile(page);
            if (now != old && now != newText)
                ++caught;
            if (!r.killed)
                break;
        }
        QVERIFY2(caught >= 2, "a plain rewrite stopped halfway went unnoticed");
    }

    // The multi-file runs stopped at every write and rename in turn.
    void multiFileRunStoppedAnywhere_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("action");
        QTest::newRow("replace, kill before the call") << "replace" << "kill";
        QTest::newRow("replace, kill halfway through a write") << "replace" << "killhalf";
        QTest::newRow("replace, kill after the call") << "replace" << "killafter";
        QTest::newRow("add at the end, kill halfway") << "add" << "killhalf";
    }
    void multiFileRunStoppedAnywhere()
    {
        QFETCH(QString, mode);
        QFETCH(QString, action);
        QTemporaryDir scratch;
        const QString folder = scratch.path();
        QMap<QString, QByteArray> before;
        before["a.htm"] = sampleText(40000, "\r\n", 'a');
        before["b.php"] = sampleText(90000, "\n", 'b');
        before["c.css"] = "body { color: red; }\n";
        before["d.js"] = sampleText(3000, "\r", 'd');
        before["latin.html"] = "<p>caf\xE9 color</p>\r\n";
        before["notes.txt"] = "color is not a web source\n";
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            QVERIFY(writeFile(folder + '/' + it.key(), it.value()));
        const QMap<QString, QByteArray> lineBreaks{{"a.htm", "\r\n"}, {"b.php", "\n"}, {"c.css", "\n"},
                                                   {"d.js", "\r"}, {"latin.html", "\r\n"}};
        QMap<QString, QByteArray> after;
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            QByteArray text = decodeText(it.value()).utf8;
            if (it.key() == "notes.txt")
                after[it.key()] = it.value();
            else if (mode == "replace")
                after[it.key()] = savedForm(it.value(), text.replace("color", "colour"));
            else
                after[it.key()] = savedForm(it.value(), text + lineBreaks[it.key()] + "<!-- added -->");
        }
        const QStringList names = before.keys();
        const QStringList args = mode == "replace" ? QStringList{"replace", folder, "color", "colour"}
                                                   : QStringList{"add", folder, "<!-- added -->", "end"};
        int stops = 0;
        for (int n = 1; n <= 200; ++n) {
            for (auto it = before.cbegin(); it != before.cend(); ++it)
                QVERIFY(writeFile(folder + '/' + it.key(), it.value()));
            const WorkerRun r = runWorker(args, {n, action, {}, folder});
            for (const QString &name : names) {
                const QByteArray now = readFile(folder + '/' + name);
                QVERIFY2(now == before[name] || now == after[name],
                         qPrintable(QString("stop at call %1: %2 is neither old nor new (%3 bytes)").arg(n).arg(name).arg(now.size())));
            }
            QCOMPARE(visibleEntries(folder), names);
            if (!r.killed) {
                QVERIFY2(r.exitCode == 0, r.errors.constData());
                for (const QString &name : names)
                    QCOMPARE(readFile(folder + '/' + name), after[name]);
                QCOMPARE(allEntries(folder), names);
                break;
            }
            ++stops;
            for (const QString &e : allEntries(folder))
                if (!names.contains(e))
                    QFile::remove(folder + '/' + e);
        }
        QVERIFY2(stops >= 10, "the run was stopped fewer times than it has files to write and rename");
    }

    // A write or rename that fails (full disk, I/O error): the save says why, the old file stays,
    // and no temporary file is left.
    void failingCallKeepsOldFile_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("calls");
        QTest::addColumn<QString>("reason");
        QTest::newRow("write: no space") << "enospc" << "write" << QString::fromLocal8Bit(strerror(ENOSPC));
        QTest::newRow("write: i/o error") << "eio" << "write" << QString::fromLocal8Bit(strerror(EIO));
        QTest::newRow("rename: i/o error") << "eio" << "rename" << QString::fromLocal8Bit(strerror(EIO));
    }
    void failingCallKeepsOldFile()
    {
        QFETCH(QString, action);
        QFETCH(QString, calls);
        QFETCH(QString, reason);
        QTemporaryDir scratch;
        const QString textFile = scratch.filePath("new-text");
        QVERIFY(writeFile(textFile, sampleText(50000, "\n", 'n')));
        QDir(scratch.path()).mkdir("site");
        const QString folder = scratch.filePath("site");
        const QByteArray old = sampleText(30000, "\n", 'o');
        QVERIFY(writeFile(folder + "/page.php", old));
        const WorkerRun r = runWorker({"save", folder + "/page.php", textFile}, {1, action, calls, folder});
        QVERIFY(!r.killed);
        QCOMPARE(r.exitCode, 3);
        QVERIFY2(r.errors.contains("save failed: ") && QString::fromLocal8Bit(r.errors).contains(reason), r.errors.constData());
        QCOMPARE(readFile(folder + "/page.php"), old);
        QCOMPARE(allEntries(folder), QStringList{"page.php"});
    }
};

class DataSafetyDisk : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A really full file system: a small tmpfs.
    void fullDiskKeepsOldFile_data()
    {
        QTest::addColumn<int>("oldSize");
        QTest::addColumn<int>("newSize");
        QTest::newRow("new text larger than the disk") << 8000 << 200000;
        QTest::newRow("old and new do not fit side by side") << 36000 << 36000;
    }
    void fullDiskKeepsOldFile()
    {
        QFETCH(int, oldSize);
        QFETCH(int, newSize);
        QTemporaryDir scratch;
        const QString folder = scratch.filePath("disk");
        QVERIFY(QDir().mkpath(folder));
        test::FailingFolder full(folder, test::FailingFolder::Kind::Full);
        if (!full.ok())
            QSKIP(qPrintable(full.why() + " (the shim's ENOSPC row of DataSafetyKill covers a full disk)"));
        const QString page = folder + "/page.html";
        const QByteArray old = sampleText(oldSize, "\n", 'o');
        QVERIFY(writeFile(page, old));
        CodeEdit editor;
        QVERIFY(editor.LoadFile(page));
        editor.setText(sampleText(newSize, "\n", 'n'));
        QVERIFY(!editor.SaveFile(page, SaveMode::Durable));
        QVERIFY2(editor.lastError().contains(QString::fromLocal8Bit(strerror(ENOSPC))), qPrintable(editor.lastError()));
        QCOMPARE(readFile(page), old);
        QCOMPARE(allEntries(folder), QStringList{"page.html"});
        // The batch save of the multi-file runs fails the same way.
        QVERIFY(!editor.SaveFile(page, SaveMode::Batch) || !editor.CommitSaves());
        QVERIFY(!editor.lastError().isEmpty());
        editor.DiscardSaves();
        QCOMPARE(readFile(page), old);
        QCOMPARE(allEntries(folder), QStringList{"page.html"});
    }

    void readOnlyFileKeepsOldFile_data()
    {
        QTest::addColumn<bool>("immutable");
        QTest::newRow("mode 0444 in a writable folder") << false;
        QTest::newRow("immutable, for root") << true;
    }
    void readOnlyFileKeepsOldFile()
    {
        QFETCH(bool, immutable);
        QTemporaryDir scratch;
        const QString page = scratch.filePath("page.html");
        const QByteArray old = "<p>old</p>\n";
        QVERIFY(writeFile(page, old));
        if (!immutable) {
            // Only the save's own check refuses: the folder would let it rename over the file.
            // Root may write any file, so as root the save runs as another user who owns both.
            const QString textFile = scratch.filePath("new-text");
            QVERIFY(writeFile(textFile, "<p>new</p>\n"));
            const int runAs = ::geteuid() == 0 ? 65534 : -1;
            for (const QString &path : {scratch.path(), page, textFile})
                QVERIFY(runAs < 0 || ::chown(QFile::encodeName(path).constData(), uid_t(runAs), gid_t(runAs)) == 0);
            QVERIFY(::chmod(QFile::encodeName(page).constData(), 0444) == 0);
            const WorkerRun r = runWorker({"save", page, textFile}, {}, runAs);
            QCOMPARE(r.exitCode, 3);
            QVERIFY2(r.errors.contains("save failed: "), r.errors.constData());
            QCOMPARE(readFile(page), old);
            QCOMPARE(allEntries(scratch.path()), (QStringList{"new-text", "page.html"}));
            return;
        }
        if (::geteuid() != 0)
            QSKIP("only root can make a file immutable; the other row covers a read-only file");
        CodeEdit editor;
        QVERIFY(editor.LoadFile(page));
        editor.setText("<p>new</p>\n");
        {
            ReadOnlyFile readOnly(page);
            if (!readOnly.ok())
                QSKIP("cannot make a file read-only for root here (no chattr +i, no bind mount)");
            QVERIFY2(!editor.SaveFile(page, SaveMode::Durable), qPrintable(readOnly.how()));
            QVERIFY(!editor.lastError().isEmpty());
            QVERIFY(!editor.SaveFile(page, SaveMode::Batch) || !editor.CommitSaves());
            editor.DiscardSaves();
        }
        QCOMPARE(readFile(page), old);
        QCOMPARE(allEntries(scratch.path()), QStringList{"page.html"});
    }

    void readOnlyFolderKeepsOldFile()
    {
        QTemporaryDir scratch;
        const QString folder = scratch.filePath("site");
        QVERIFY(QDir().mkpath(folder));
        const QString page = folder + "/page.html";
        const QByteArray old = "<p>old</p>\n";
        QVERIFY(writeFile(page, old));
        CodeEdit editor;
        QVERIFY(editor.LoadFile(page));
        editor.setText("<p>new</p>\n");
        {
            test::FailingFolder readOnly(folder, test::FailingFolder::Kind::ReadOnly);
            if (!readOnly.ok())
                QSKIP(qPrintable(readOnly.why()));
            QVERIFY(!editor.SaveFile(page, SaveMode::Durable));
            QVERIFY(!editor.lastError().isEmpty());
            QCOMPARE(readFile(page), old);
        }
        QCOMPARE(readFile(page), old);
        QCOMPARE(allEntries(folder), QStringList{"page.html"});
    }

    void symbolicLinkSavedThrough_data()
    {
        QTest::addColumn<QString>("linkText");   // what the link holds, relative to the scratch folder's "site"
        QTest::addColumn<QString>("targetPath"); // the file it ends at, relative to the scratch folder
        QTest::newRow("relative link") << "real.html" << "site/real.html";
        QTest::newRow("absolute link") << "@/site/real.html" << "site/real.html";
        QTest::newRow("link into another folder") << "../elsewhere/real.html" << "elsewhere/real.html";
        QTest::newRow("link to a link") << "middle.html" << "site/real.html";
    }
    void symbolicLinkSavedThrough()
    {
        QFETCH(QString, linkText);
        QFETCH(QString, targetPath);
        QTemporaryDir scratch;
        QVERIFY(QDir().mkpath(scratch.filePath("site")) && QDir().mkpath(scratch.filePath("elsewhere")));
        const QString target = scratch.filePath(targetPath);
        QVERIFY(writeFile(target, "<p>old</p>\n"));
        QVERIFY(::chmod(QFile::encodeName(target).constData(), 0640) == 0);
        if (linkText.startsWith('@'))
            linkText = scratch.path() + linkText.mid(1);
        const QString link = scratch.filePath("site/page.html");
        if (linkText == "middle.html") {
            QVERIFY(::symlink("real.html", QFile::encodeName(scratch.filePath("site/middle.html")).constData()) == 0);
        }
        QVERIFY(::symlink(QFile::encodeName(linkText).constData(), QFile::encodeName(link).constData()) == 0);

        CodeEdit editor;
        QVERIFY(editor.LoadFile(link));
        QCOMPARE(editor.Text(), QByteArray("<p>old</p>\n"));
        editor.setText("<p>new</p>\n");
        QVERIFY2(editor.SaveFile(link, SaveMode::Durable), qPrintable(editor.lastError()));
        QVERIFY(QFileInfo(link).isSymLink());
        char buf[4096];
        const ssize_t n = ::readlink(QFile::encodeName(link).constData(), buf, sizeof buf);
        QCOMPARE(QString::fromLocal8Bit(buf, int(n)), linkText);
        QCOMPARE(readFile(target), QByteArray("<p>new</p>\n"));
        struct stat st {};
        QVERIFY(::stat(QFile::encodeName(target).constData(), &st) == 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0640));
        // The batch save of the multi-file runs writes through the link too.
        editor.setText("<p>batch</p>\n");
        QVERIFY(editor.SaveFile(link, SaveMode::Batch));
        QVERIFY(editor.CommitSaves());
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(readFile(target), QByteArray("<p>batch</p>\n"));
    }

    void permissionsKept_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("otherOwner");
        QTest::newRow("0600") << 0600 << false;
        QTest::newRow("0640") << 0640 << false;
        QTest::newRow("0755 executable script") << 0755 << false;
        QTest::newRow("0604") << 0604 << false;
        QTest::newRow("2775 set-group-id") << 02775 << false;
        QTest::newRow("0664 owned by nobody") << 0664 << true;
    }
    void permissionsKept()
    {
        QFETCH(int, mode);
        QFETCH(bool, otherOwner);
        QTemporaryDir scratch;
        const QString page = scratch.filePath("page.php");
        QVERIFY(writeFile(page, "<?php echo 1; ?>\n"));
        const QByteArray native = QFile::encodeName(page);
        if (otherOwner) {
            if (::geteuid() != 0)
                QSKIP("giving a file to another owner needs root");
            QVERIFY(::chown(native.constData(), 65534, 65534) == 0);
        }
        QVERIFY(::chmod(native.constData(), mode_t(mode)) == 0);
        struct stat before {};
        QVERIFY(::stat(native.constData(), &before) == 0);

        CodeEdit editor;
        QVERIFY(editor.LoadFile(page));
        editor.setText("<?php echo 2; ?>\n");
        QVERIFY2(editor.SaveFile(page, SaveMode::Durable), qPrintable(editor.lastError()));
        struct stat after {};
        QVERIFY(::stat(native.constData(), &after) == 0);
        QCOMPARE(after.st_mode & 07777, before.st_mode & 07777);
        QCOMPARE(after.st_uid, before.st_uid);
        QCOMPARE(after.st_gid, before.st_gid);
        QCOMPARE(readFile(page), QByteArray("<?php echo 2; ?>\n"));
    }
};

KESTRIN_REGISTER_TEST(DataSafetyKill);
KESTRIN_REGISTER_TEST(DataSafetyDisk);

#include "tst_datasafety.moc"

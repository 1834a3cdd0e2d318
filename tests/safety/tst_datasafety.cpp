// What a sudden end or a failing disk leaves behind: every file is its old or its new content,
// never a mix, never empty, and a failed save says why and keeps the old file. The stops come from
// a preloaded shim (killshim.c) in a child process (safety_worker), so the program has no hooks.
#include "FailingFolder.h"
#include "FileBytes.h"
#include "TestRegistry.h"

#include "document/TextFile.h"
#include "editor/component/CodeEdit.h"

#include <QtCore>
#include <QTest>

#include <cstring>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using namespace kestrin;
using namespace kestrin::test;

namespace {

// A text of about size bytes with the given line end, different for each seed.
QByteArray sampleText(int size, const QByteArray &lineBreak, char seed)
{
    QByteArray out;
    for (int line = 0; out.size() < size; ++line)
        out += "<p class='color" + QByteArray(1, seed) + "'>line " + QByteArray::number(line) + " color "
               + QByteArray(1 + line % 40, seed) + "</p>" + lineBreak;
    return out;
}

// The bytes a save writes for newUtf8 into a file that held oldBytes: its encoding and line ends kept.
QByteArray savedForm(const QByteArray &oldBytes, const QByteArray &newUtf8)
{
    const EncodeResult saved = encodeText(newUtf8, decodeText(oldBytes).format);
    return saved.ok ? saved.bytes : QByteArray("<cannot encode>");
}

struct WorkerRun { bool killed; int exitCode; QByteArray errors; };

// The worker, with the shim acting at the nth write or rename (0: never) on files under folder;
// runAs: a user id to run it as (root only), with home a folder of that user's; -1 for this one.
WorkerRun runWorker(const QStringList &args, const QString &folder, int n = 0, const QString &action = {}, int runAs = -1,
                    const QString &home = {})
{
    QString dir = QCoreApplication::applicationDirPath();
    if (runAs >= 0) { // the build folder may lie in a home of mode 0700: copied, gone with home
        for (const QString name : {"safety_worker", "libkestrin_killshim.so"})
            if (!QFile::copy(dir + '/' + name, home + '/' + name))
                return {false, -1, "cannot copy the worker into " + QFile::encodeName(home)};
        dir = home;
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // A sanitizer build wants its runtime first; the shim only passes calls on to it.
    const QString asan = env.value("ASAN_OPTIONS") + (env.contains("ASAN_OPTIONS") ? ":" : "");
    for (const auto &[name, value] : {std::pair{"QT_QPA_PLATFORM", QString("offscreen")}, {"LD_PRELOAD", dir + "/libkestrin_killshim.so"},
                                      {"ASAN_OPTIONS", asan + "verify_asan_link_order=0:detect_leaks=0"},
                                      {"KESTRIN_SHIM_AT", QString::number(n)}, {"KESTRIN_SHIM_ACTION", action}, {"KESTRIN_SHIM_UNDER", folder}})
        env.insert(name, value);
    QProcess p;
    if (runAs >= 0) { // nothing of this user's, which that one may not enter
        env.insert("HOME", home);
        p.setWorkingDirectory(home);
        p.setChildProcessModifier([runAs] { if (::setgid(gid_t(runAs)) != 0 || ::setuid(uid_t(runAs)) != 0) ::_exit(2); });
    }
    p.setProcessEnvironment(env);
    p.start(dir + "/safety_worker", args);
    if (!p.waitForFinished(120000))
        return {false, -1, "worker did not finish"}; // and killed as p goes
    return {p.exitStatus() == QProcess::CrashExit, p.exitCode(), p.readAllStandardError()};
}

} // namespace

class DataSafety : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A save or a replace run stopped at each of its writes and renames in turn, killed or with the call failing: every
    // file is old or new, a failure is reported with its reason and leaves no temporary file.
    void stoppedAtEveryCall_data()
    {
        // oldBytes and newText: the saved file before and the text saved; unused by the replace run
        QTest::addColumn<QString>("run"), QTest::addColumn<QString>("action");
        QTest::addColumn<QByteArray>("oldBytes"), QTest::addColumn<QByteArray>("newText");
        const QByteArray oldLf = sampleText(150000, "\n", 'a'), newLf = sampleText(220000, "\n", 'b');
        const QString crlf = QString::fromUtf8(sampleText(5000, "\r\n", 'c'));
        const QByteArray utf16 = "\xFF\xFE" + QByteArray(reinterpret_cast<const char *>(crlf.utf16()), crlf.size() * 2);
        for (const char *action : {"kill", "killhalf", "killafter", "enospc", "eio"}) {
            QTest::addRow("save, %s", action) << "save" << action << oldLf << newLf;
            QTest::addRow("replace run, %s", action) << "replace" << action << QByteArray() << QByteArray();
        }
        QTest::newRow("save, shorter text, killhalf") << "save" << "killhalf" << newLf << oldLf;
        QTest::newRow("save, utf16le crlf, killhalf") << "save" << "killhalf" << utf16 << sampleText(7000, "\r\n", 'd');
        QTest::newRow("save, one byte to many, killhalf") << "save" << "killhalf" << QByteArray("x") << newLf;
    }
    void stoppedAtEveryCall()
    {
        QFETCH(QString, run); QFETCH(QString, action); QFETCH(QByteArray, oldBytes); QFETCH(QByteArray, newText);
        QTemporaryDir scratch;
        const QString folder = scratch.filePath("site"), textFile = scratch.filePath("new-text");
        QVERIFY(QDir().mkpath(folder) && writeBytes(textFile, newText));
        QMap<QString, QByteArray> before{{"page.html", oldBytes}}, after;
        QStringList args{"save", folder + "/page.html", textFile};
        if (run == "replace") {
            before = {{"a.htm", sampleText(40000, "\r\n", 'a')}, {"b.php", sampleText(90000, "\n", 'b')}, {"d.js", sampleText(3000, "\r", 'd')},
                      {"latin.html", "<p>caf\xE9 color</p>\r\n"}, {"notes.txt", "color is not a web source\n"}};
            args = QStringList{"replace", folder, "color", "colour"};
        }
        int changed = 0;
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            const QByteArray text = run == "save" ? newText : decodeText(it.value()).utf8.replace("color", "colour");
            after[it.key()] = it.key().endsWith(".txt") ? it.value() : savedForm(it.value(), text);
            changed += after[it.key()] != it.value();
        }
        const QStringList names = before.keys();
        int stops = 0;
        for (int n = 1;; ++n) {
            QVERIFY(n <= 200);
            for (auto it = before.cbegin(); it != before.cend(); ++it) QVERIFY(writeBytes(folder + '/' + it.key(), it.value()));
            const WorkerRun r = runWorker(args, folder, n, action);
            int old = 0;
            for (const QString &name : names) {
                const QByteArray now = readBytes(folder + '/' + name);
                QVERIFY2(now == before[name] || now == after[name],
                         qPrintable(QString("stop at call %1: %2 is neither old nor new (%3 bytes)").arg(n).arg(name).arg(now.size())));
                old += now != after[name];
            }
            if (!r.killed && r.exitCode == 0) {
                QCOMPARE(old, 0);
                QCOMPARE(entries(folder), names);
                break;
            }
            ++stops;
            if (r.killed) {
                for (const QString &e : entries(folder)) // only a hidden temporary file may stay; cleared, as a new start would find it
                    QVERIFY2(names.contains(e) || (e.startsWith('.') && QFile::remove(folder + '/' + e)), qPrintable(e));
                continue;
            }
            QCOMPARE(r.exitCode, 3);
            const QString reason = QString::fromLocal8Bit(std::strerror(action == "eio" ? EIO : ENOSPC));
            QVERIFY2(QString::fromLocal8Bit(r.errors).contains(reason), r.errors.constData());
            QVERIFY(old > 0 && (run == "save" || r.errors.contains("listed: " + QByteArray::number(old))));
            QCOMPARE(entries(folder), names);
        }
        QVERIFY2(stops >= 2 * changed, "fewer stops than writes and renames: is the shim loaded?");
    }

    // A save that cannot be done says so and leaves everything as it was.
    void saveRefused_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::newRow("file of mode 0444 in a writable folder") << "file";
        QTest::newRow("read-only folder") << "folder";
        QTest::newRow("a folder in the file's place") << "dir";
    }
    void saveRefused()
    {
        QFETCH(QString, obstacle);
        QTemporaryDir scratch;
        const QString folder = scratch.filePath("site"), page = folder + "/page.html", textFile = scratch.filePath("new-text");
        QVERIFY(QDir().mkpath(obstacle == "dir" ? page : folder) && writeBytes(textFile, "<p>new</p>\n"));
        QVERIFY(obstacle == "dir" || writeBytes(page, "<p>old</p>\n"));
        const QByteArray old = readBytes(page);
        // Only the save's own check refuses a read-only file in a writable folder. Root may write
        // any file, so as root that save runs as another user who owns the folder and the file.
        const int runAs = obstacle == "file" && ::geteuid() == 0 ? 65534 : -1;
        for (const QString &path : {scratch.path(), folder, page, textFile})
            QVERIFY(runAs < 0 || ::chown(QFile::encodeName(path).constData(), uid_t(runAs), gid_t(runAs)) == 0);
        QVERIFY(obstacle != "file" || ::chmod(QFile::encodeName(page).constData(), 0444) == 0);
        std::optional<test::FailingFolder> readOnly;
        if (obstacle == "folder") {
            readOnly.emplace(folder, test::FailingFolder::Kind::ReadOnly);
            QVERIFY2(readOnly->ok(), qPrintable(readOnly->why()));
        }
        const WorkerRun r = runWorker({"save", page, textFile}, folder, 0, {}, runAs, scratch.path());
        readOnly.reset();
        QCOMPARE(r.exitCode, 3);
        QVERIFY2(r.errors.contains("save failed: "), r.errors.constData());
        QCOMPARE(readBytes(page), old);
        QCOMPARE(entries(folder), QStringList{"page.html"});
    }

    // A save keeps what the file is: its permissions, owner and group, and a symbolic link stays
    // the same link (relative, absolute, into another folder, to a link) with its target written.
    void saveKeepsTheFile_data()
    {
        // link: what site/page.html holds (@: the scratch folder; empty: none); mode: the file's (0: none yet, made under umask 022)
        QTest::addColumn<QString>("link"), QTest::addColumn<int>("mode"), QTest::addColumn<bool>("otherOwner");
        for (int mode : {0600, 0640, 0755, 0604, 02775}) QTest::addRow("mode %04o", mode) << QString() << mode << false;
        QTest::newRow("new file") << QString() << 0 << false;
        if (::geteuid() == 0) // only root can give a file away
            QTest::newRow("0664 owned by nobody") << QString() << 0664 << true;
        QTest::newRow("relative link") << "real.html" << 0640 << false;
        QTest::newRow("absolute link") << "@/site/real.html" << 0640 << false;
        QTest::newRow("link into another folder") << "../other/real.html" << 0640 << false;
        QTest::newRow("link to a link") << "middle.html" << 0640 << false;
    }
    void saveKeepsTheFile()
    {
        QFETCH(QString, link); QFETCH(int, mode); QFETCH(bool, otherOwner);
        QTemporaryDir scratch;
        QVERIFY(QDir().mkpath(scratch.filePath("site")) && QDir().mkpath(scratch.filePath("other")));
        const QString target = scratch.filePath(link.startsWith("..") ? "other/real.html" : "site/real.html");
        const QString page = link.isEmpty() ? target : scratch.filePath("site/page.html");
        const QByteArray native = QFile::encodeName(target);
        struct stat before {};
        before.st_mode = 0644, before.st_uid = ::geteuid(), before.st_gid = ::getegid();
        if (mode) {
            QVERIFY(writeBytes(target, "<p>old</p>\n"));
            QVERIFY(!otherOwner || ::chown(native.constData(), 65534, 65534) == 0);
            QVERIFY(::chmod(native.constData(), mode_t(mode)) == 0 && ::stat(native.constData(), &before) == 0);
        }
        link.replace('@', scratch.path());
        QVERIFY(QFile::link("real.html", scratch.filePath("site/middle.html")));
        QVERIFY(link.isEmpty() || ::symlink(QFile::encodeName(link).constData(), QFile::encodeName(page).constData()) == 0);
        CodeEdit editor;
        QCOMPARE(editor.LoadFile(page), mode != 0);
        for (const bool batched : {false, true}) {
            editor.setText(batched ? "<p>batch</p>\n" : "<p>new</p>\n");
            const mode_t mask = ::umask(022);
            AtomicBatch batch;
            QString why;
            const bool saved = editor.document()->save(page, batched ? &batch : nullptr) && batch.commit(&why);
            ::umask(mask);
            QVERIFY2(saved, qPrintable(editor.document()->lastError() + why));
            QCOMPARE(readBytes(target), editor.Text());
            char held[4096];
            const ssize_t n = ::readlink(QFile::encodeName(page).constData(), held, sizeof held);
            QCOMPARE(QString::fromLocal8Bit(held, n > 0 ? n : 0), link);
            struct stat after {};
            QVERIFY(::stat(native.constData(), &after) == 0);
            QCOMPARE(after.st_mode & 07777, before.st_mode & 07777);
            QCOMPARE(after.st_uid, before.st_uid);
            QCOMPARE(after.st_gid, before.st_gid);
        }
    }
};

KESTRIN_REGISTER_TEST(DataSafety);

#include "tst_datasafety.moc"

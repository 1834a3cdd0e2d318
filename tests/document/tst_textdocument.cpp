#include "TestRegistry.h"

#include "FailingFolder.h"
#include "document/FileReader.h"
#include "document/TextDocument.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace kestrin;
using kestrin::test::FailingFolder;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace

// Loading and saving as the editor and the multi-file runs do it (DocumentFile, through
// TextDocument): byte-identical round trips, the read-ahead, atomic and batch saves.
class TestTextDocument : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loadSaveByteIdentical_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("utf8 no bom") << QByteArray("<p>caf\xC3\xA9</p>\n");
        QTest::newRow("utf8 bom") << QByteArray("\xEF\xBB\xBF<?php echo 1; ?>\r\n");
        QTest::newRow("utf16le bom") << QByteArray("\xFF\xFE" "a\0\xE9\0\r\0\n\0", 10);
        QTest::newRow("utf16be bom") << QByteArray("\xFE\xFF\0a\0\n\0b", 8);
        QTest::newRow("cp1252 e-acute") << QByteArray("caf\xE9\r\n");
        QTest::newRow("cp1252 0x81") << QByteArray("a\x81\x8D\x8F\x90\x9Dz");
        QTest::newRow("crlf") << QByteArray("a\r\nb\r\n");
        QTest::newRow("lf") << QByteArray("a\nb\n");
        QTest::newRow("cr") << QByteArray("a\rb\r");
        QTest::newRow("mixed") << QByteArray("a\nb\r\nc\rd\n");
        QTest::newRow("no final line end") << QByteArray("x\r\ny");
        QTest::newRow("empty") << QByteArray();
    }
    void loadSaveByteIdentical()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath("page.php");
        writeFile(path, bytes);
        TextDocument edit;
        QVERIFY2(edit.LoadFile(path), qPrintable(edit.lastError()));
        const QString out = dir.filePath("out.php");
        QVERIFY2(edit.SaveFile(out), qPrintable(edit.lastError()));
        QCOMPARE(readFile(out), bytes);
        QVERIFY2(edit.SaveFile(path), qPrintable(edit.lastError()));
        QCOMPARE(readFile(path), bytes);
        QCOMPARE(entries(dir.path()).size(), 2); // no temporary file left
    }

    // The command-line document is read ahead while the window is built; what LoadFile then
    // gives is what it gives without the read ahead.
    void prefetchedLoadIsTheSameLoad_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("samePath");
        const QByteArray utf8 = QByteArray("<p>caf\xC3\xA9</p>\r\n").repeated(100'000);
        const QByteArray cp1252 = QByteArray("<p>caf\xE9</p>\n").repeated(100'000);
        QTest::newRow("UTF-8, 1.6 MB") << utf8 << true;
        QTest::newRow("Windows-1252, 1.2 MB") << cp1252 << true;
        QTest::newRow("another file read ahead") << utf8 << false;
    }
    void prefetchedLoadIsTheSameLoad()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, samePath);
        QTemporaryDir dir;
        const QString path = dir.filePath("a.html");
        const QString other = dir.filePath("b.html");
        writeFile(path, bytes);
        writeFile(other, QByteArray("other\n").repeated(300'000));
        TextDocument plain;
        QVERIFY(plain.LoadFile(path));
        prefetchFile(samePath ? path : other);
        TextDocument edit;
        QVERIFY(edit.LoadFile(path));
        QCOMPARE(edit.Text(), plain.Text());
        QCOMPARE(edit.encodingName(), plain.encodingName());
        QCOMPARE(edit.lineBreak(), plain.lineBreak());
        QVERIFY(edit.SaveFile(path));
        QVERIFY(readFile(path) == bytes);
    }

    void binaryRefusedKeepsText()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("image.php");
        writeFile(path, QByteArray("GIF89a\0\0\x01", 9));
        TextDocument edit;
        edit.setText("kept");
        QVERIFY(!edit.LoadFile(path));
        QVERIFY(!edit.lastError().isEmpty());
        QCOMPARE(edit.Text(), QByteArray("kept"));
    }

    void missingFileFails()
    {
        TextDocument edit;
        edit.setText("kept");
        QVERIFY(!edit.LoadFile(QDir::tempPath() + "/no/such/folder/x.php"));
        QVERIFY(!edit.lastError().isEmpty());
        QCOMPARE(edit.Text(), QByteArray("kept"));
    }

    void saveIntoReadOnlyFolderFails()
    {
        QTemporaryDir dir;
        const QString sub = dir.filePath("ro");
        QVERIFY(QDir().mkpath(sub));
        const QString path = sub + "/page.php";
        writeFile(path, "old\n");
        TextDocument edit;
        QVERIFY(edit.LoadFile(path));
        edit.setText("new\n");
        FailingFolder ro(sub, FailingFolder::Kind::ReadOnly);
        if (!ro.ok())
            QSKIP(qPrintable(ro.why()));
        QVERIFY(!edit.SaveFile(path));
        QVERIFY(!edit.lastError().isEmpty());
        QCOMPARE(readFile(path), QByteArray("old\n"));
        QCOMPARE(entries(sub), QStringList{"page.php"});
    }

    void saveOnFullDiskFails()
    {
        QTemporaryDir dir;
        const QString sub = dir.filePath("full");
        QVERIFY(QDir().mkpath(sub));
        FailingFolder full(sub, FailingFolder::Kind::Full);
        if (!full.ok())
            QSKIP(qPrintable(full.why()));
        const QString path = sub + "/page.php";
        writeFile(path, "old\n");
        TextDocument edit;
        QVERIFY(edit.LoadFile(path));
        edit.setText(QByteArray(200 * 1024, 'x'));
        QVERIFY(!edit.SaveFile(path));
        QCOMPARE(edit.lastError(), QString::fromLocal8Bit(strerror(ENOSPC)));
        QCOMPARE(readFile(path), QByteArray("old\n"));
        QCOMPARE(entries(sub), QStringList{"page.php"});
        // The batch path fails the same way and leaves nothing behind.
        QVERIFY(!edit.SaveFile(path, SaveMode::Batch));
        QCOMPARE(entries(sub), QStringList{"page.php"});
        QVERIFY(edit.CommitSaves());
    }

    void saveOverADirectoryFails()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("folder.php");
        QVERIFY(QDir().mkpath(path));
        TextDocument edit;
        edit.setText("x");
        QVERIFY(!edit.SaveFile(path));
        QVERIFY(!edit.lastError().isEmpty());
        QCOMPARE(entries(dir.path()), QStringList{"folder.php"});
    }

    void permissionsKept_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("0640") << 0640;
        QTest::newRow("0755") << 0755;
        QTest::newRow("0600") << 0600;
    }
    void permissionsKept()
    {
        QFETCH(int, mode);
        QTemporaryDir dir;
        const QString path = dir.filePath("page.php");
        writeFile(path, "old\n");
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode_t(mode)), 0);
        TextDocument edit;
        QVERIFY(edit.LoadFile(path));
        edit.setText("new\n");
        QVERIFY2(edit.SaveFile(path), qPrintable(edit.lastError()));
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
        QCOMPARE(int(st.st_mode & 07777), mode);
        QCOMPARE(readFile(path), QByteArray("new\n"));
    }

    void newFileFollowsUmask()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("fresh.php");
        const mode_t old = ::umask(022);
        TextDocument edit;
        edit.setText("x");
        const bool ok = edit.SaveFile(path);
        ::umask(old);
        QVERIFY(ok);
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
        QCOMPARE(int(st.st_mode & 07777), 0644);
    }

    void symlinkSavedThrough_data()
    {
        QTest::addColumn<bool>("relative");
        QTest::addColumn<bool>("chain");
        QTest::newRow("absolute link") << false << false;
        QTest::newRow("relative link") << true << false;
        QTest::newRow("link to a link") << true << true;
    }
    void symlinkSavedThrough()
    {
        QFETCH(bool, relative);
        QFETCH(bool, chain);
        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(dir.filePath("real")));
        const QString target = dir.filePath("real/page.php");
        writeFile(target, "old\n");
        const QString link = dir.filePath("link.php");
        QVERIFY(QFile::link(relative ? QString("real/page.php") : target, chain ? dir.filePath("mid.php") : link));
        if (chain)
            QVERIFY(QFile::link("mid.php", link));
        TextDocument edit;
        QVERIFY(edit.LoadFile(link));
        edit.setText("new\n");
        QVERIFY2(edit.SaveFile(link), qPrintable(edit.lastError()));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(readFile(target), QByteArray("new\n"));
        QCOMPARE(entries(dir.filePath("real")), QStringList{"page.php"});
    }

    void batchSaveCommit()
    {
        QTemporaryDir dir;
        const QString a = dir.filePath("a.php");
        const QString b = dir.filePath("b.php");
        writeFile(a, "a-old");
        writeFile(b, "b-old");
        TextDocument edit;
        QVERIFY(edit.LoadFile(a));
        edit.setText("a-new");
        QVERIFY(edit.SaveFile(a, SaveMode::Batch));
        QVERIFY(edit.LoadFile(b));
        edit.setText("b-new");
        QVERIFY(edit.SaveFile(b, SaveMode::Batch));
        QCOMPARE(readFile(a), QByteArray("a-old")); // nothing in place before the commit
        QCOMPARE(readFile(b), QByteArray("b-old"));
        QCOMPARE(entries(dir.path()).size(), 4);
        QVERIFY2(edit.CommitSaves(), qPrintable(edit.lastError()));
        QCOMPARE(readFile(a), QByteArray("a-new"));
        QCOMPARE(readFile(b), QByteArray("b-new"));
        QCOMPARE(entries(dir.path()).size(), 2);
        QVERIFY(edit.CommitSaves()); // nothing pending
    }

    void batchFileListedTwiceSeesFirstResult()
    {
        QTemporaryDir dir;
        const QString a = dir.filePath("a.php");
        writeFile(a, "x");
        TextDocument edit;
        QVERIFY(edit.LoadFile(a));
        edit.setText(edit.Text() + "1");
        QVERIFY(edit.SaveFile(a, SaveMode::Batch));
        QVERIFY(edit.LoadFile(a)); // commits the pending save first
        QCOMPARE(edit.Text(), QByteArray("x1"));
        edit.setText(edit.Text() + "2");
        QVERIFY(edit.SaveFile(a, SaveMode::Batch));
        QVERIFY(edit.CommitSaves());
        QCOMPARE(readFile(a), QByteArray("x12"));
        QCOMPARE(entries(dir.path()), QStringList{"a.php"});
    }

    void batchDiscardAndDestructorLeaveTargets()
    {
        QTemporaryDir dir;
        const QString a = dir.filePath("a.php");
        writeFile(a, "old");
        {
            TextDocument edit;
            edit.setText("new");
            QVERIFY(edit.SaveFile(a, SaveMode::Batch));
            edit.DiscardSaves();
            QCOMPARE(entries(dir.path()), QStringList{"a.php"});
            QVERIFY(edit.SaveFile(a, SaveMode::Batch));
        }
        QCOMPARE(readFile(a), QByteArray("old"));
        QCOMPARE(entries(dir.path()), QStringList{"a.php"});
    }
};

KESTRIN_REGISTER_TEST(TestTextDocument);

#include "tst_textdocument.moc"

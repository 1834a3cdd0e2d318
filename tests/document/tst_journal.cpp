#include "FileBytes.h"
#include "TestRegistry.h"

#include "document/Document.h"
#include "document/JournalWriter.h"

#include <QtTest>

#include <sys/stat.h>

using namespace kestrin;
using namespace kestrin::test;

namespace {

// A journal over base (file bytes when fileBytes, else UTF-8 text of that length) with edits.
QByteArray journalOf(const QByteArray &base, qint64 baseLength, bool fileBytes, const QByteArray &edits, LineEnd end = LineEnd::LF)
{
    JournalHeader h;
    h.base = fileBytes ? JournalHeader::Base::FileBytes : JournalHeader::Base::Utf8, h.baseLength = baseLength, h.format.lineEnd = end;
    QByteArray rest = journal::recordStart(journal::BaseRecord, base.size()) + base + QByteArray(4, '\0') + edits;
    journal::sealRecords(rest.data(), rest.size());
    return journal::preamble(h) + rest;
}
QByteArray ins(qint64 pos, const QByteArray &t) { QByteArray r; journal::appendInsert(r, pos, t.constData(), t.size()); return r; }
QByteArray del(qint64 pos, qint64 n) { QByteArray r; journal::appendRemove(r, pos, n); return r; }

JournalContents read(QByteArray bytes) { QBuffer buffer(&bytes); buffer.open(QIODevice::ReadOnly); return readJournal(buffer); }

} // namespace

class TestJournal : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // What a journal gives back, whole, cut or damaged: the text up to its last complete record,
    // or a reason and no text, never a wrong one.
    void reader_data()
    {
        // text: the one expected, empty when refused; reason: a part of it, empty when recovered
        QTest::addColumn<QByteArray>("journal"), QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("reason"), QTest::addColumn<bool>("torn");
        const QByteArray edits = ins(3, "d") + del(0, 1) + ins(0, "\xc3\xa9"), whole = journalOf("abc", 3, false, edits);
        QByteArray flipped = whole, lastFlipped = whole, otherVersion = whole;
        flipped[whole.size() - edits.size() + 10] ^= 1; // in the first edit
        lastFlipped[whole.size() - 6] ^= 1, otherVersion[8] = 2;
        QByteArray baseFlipped = whole;
        baseFlipped[whole.indexOf("abc") + 1] ^= 1;
        QTest::newRow("edits over a UTF-8 base") << whole << QByteArray("\xc3\xa9" "bcd") << "" << false;
        QTest::newRow("Windows-1252 file bytes, CR LF")
            << journalOf("caf\xe9\r\n", 7, true, ins(7, "x")) << QByteArray("caf\xc3\xa9\r\nx") << "" << false;
        QTest::newRow("cut mid-record") << whole.left(whole.size() - 3) << QByteArray("bcd") << "" << true;
        QTest::newRow("cut in the header") << whole.left(40) << QByteArray() << "empty" << true;
        QTest::newRow("zeros after the last record") << whole + QByteArray(4096, '\0') << QByteArray("\xc3\xa9" "bcd") << "" << true;
        QTest::newRow("last record's checksum wrong") << lastFlipped << QByteArray("bcd") << "" << true;
        QTest::newRow("wrong checksum") << flipped << QByteArray() << "checksum" << false;
        QTest::newRow("base's checksum wrong") << baseFlipped << QByteArray() << "checksum" << false;
        QTest::newRow("CR line ends") << journalOf("a\rb", 3, false, "", LineEnd::CR) << QByteArray("a\rb") << "" << false;
        QTest::newRow("other version") << otherVersion << QByteArray() << "another version" << false;
        QTest::newRow("position outside the text") << journalOf("abc", 3, false, ins(4, "x")) << QByteArray() << "outside" << false;
        QTest::newRow("deletion past the end") << journalOf("abc", 3, false, del(2, 2)) << QByteArray() << "outside" << false;
        QTest::newRow("base not the recorded length") << journalOf("abc", 4, false, "") << QByteArray() << "first text" << false;
        QTest::newRow("empty") << QByteArray() << QByteArray() << "empty" << false;
        QTest::newRow("garbage") << QByteArray("<?php echo 1; ?>\n") << QByteArray() << "not a recovery journal" << false;
        QTest::newRow("a second header") << journalOf("abc", 3, false, journal::preamble({}).mid(journal::PreambleSize))
                                         << QByteArray() << "damaged" << false;
    }
    void reader()
    {
        QFETCH(QByteArray, journal); QFETCH(QByteArray, text); QFETCH(QString, reason); QFETCH(bool, torn);
        const JournalContents r = read(journal);
        QCOMPARE(r.text, text);
        QVERIFY2(reason.isEmpty() ? r.ok : !r.ok && r.reason.contains(reason), qPrintable(r.reason));
        if (r.ok) QCOMPARE(r.torn, torn);
    }

    // The writer: a file's bytes as the base, edits written without a flush from the caller
    // within the second, a format change and the path kept, the lock held, removal on discard,
    // compaction keeping the text, keep() leaving a journal a later start can claim.
    void writerLifecycle()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath("state/kestrin4/recovery"), doc = dir.filePath("p\xc3\xa4ge.htm"), gone = dir.filePath("gone.php");
        QVERIFY(writeBytes(doc, "caf\xe9\r\n"));
        const DiskStamp written = DiskStamp::of(doc);
        QTest::qWait(20); // the same bytes written again: another file, whatever the second
        QVERIFY(writeBytes(doc, "caf\xe9\r\n") && !(DiskStamp::of(doc) == written));
        JournalWriter writer(folder);
        JournalWriter::Start start;
        start.header.path = gone, start.header.base = JournalHeader::Base::FileBytes, start.header.baseLength = 7;
        start.header.disk = DiskStamp::of(doc), start.baseFile = doc;
        writer.begin(start), writer.inserted(7, "x", 1);
        const QString path = writer.journalPath();
        QTRY_VERIFY_WITH_TIMEOUT(QFile(path).size() > 0 && read(readBytes(path)).text.endsWith("x"), 1000);
        struct stat st;
        QVERIFY(::stat(QFile::encodeName(folder).constData(), &st) == 0 && (st.st_mode & 0777) == 0700);
        QVERIFY(::stat(QFile::encodeName(path).constData(), &st) == 0 && (st.st_mode & 0777) == 0600);
        QVERIFY(!JournalFile::claim(path).isOpen()); // held by its writer
        writer.formatChanged(doc, TextFormat{.lineEnd = LineEnd::CRLF}), writer.flush(); // saved as, in UTF-8
        QCOMPARE(read(readBytes(path)).header.path, doc);
        const QByteArray big(17 << 20, 'b');
        writer.inserted(0, big.constData(), big.size()), writer.flush(); // past the compaction threshold
        JournalContents r = read(readBytes(path));
        QVERIFY(r.header.base == JournalHeader::Base::Utf8 && r.baseEnd == QFile(path).size()); // compacted
        writer.removed(0, big.size() - 1), writer.flush();
        r = read(readBytes(path));
        QCOMPARE(r.text, QByteArray("bcaf\xc3\xa9\r\nx"));
        QCOMPARE(r.header.path, doc);
        QVERIFY(r.header.format.encoding == TextFormat::Encoding::Utf8 && r.header.format.lineEnd == LineEnd::CRLF);
        writer.discard();
        QVERIFY(!QFile::exists(path));

        writer.begin(start), writer.keep();
        QTest::qWait(20);
        JournalWriter newer(folder);
        newer.begin(start), newer.inserted(0, "n", 1), newer.keep();
        QVERIFY(writeBytes(folder + "/.half.k4j.tmp", "an editor died making it"));
        const std::vector<OrphanJournal> orphans = findOrphanJournals(folder); // the newest first
        QCOMPARE(orphans.size(), size_t(2));
        QCOMPARE(orphans[0].file.read().text + orphans[1].file.read().text, QByteArray("ncaf\xc3\xa9\r\ncaf\xc3\xa9\r\n"));
        QVERIFY(!QFile::exists(folder + "/.half.k4j.tmp"));
        QVERIFY(QFile::link(doc, dir.filePath("link.htm")) && journalPathOf(dir.filePath("link.htm")) == journalPathOf(doc));
        const QByteArray state = qgetenv("XDG_STATE_HOME"); // a relative one is ignored, as the base directory rules say
        qputenv("XDG_STATE_HOME", "state");
        QCOMPARE(recoveryFolderPath(), QDir::homePath() + "/.local/state/kestrin4/recovery");
        qputenv("XDG_STATE_HOME", state);

        QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0750) == 0); // a folder open to the group (or someone else's) is not written to
        QString why;
        QVERIFY(!prepareRecoveryFolder(folder, &why) && why.contains(folder));
    }

    // Typing for six and a half seconds: the journal is synced once five seconds after it began
    // (never per key), and once more when the edits pause for a second.
    void syncsWhileTyping()
    {
        QTemporaryDir dir;
        JournalWriter writer(dir.filePath("recovery"));
        writer.begin({});
        const QDeadlineTimer typing(6500);
        for (int i = 0; !typing.hasExpired(); ++i)
            writer.inserted(i, "k", 1), QTest::qWait(200);
        const int synced = writer.syncs();
        QVERIFY2(synced >= 1 && synced <= 2, qPrintable(QString::number(synced))); // 2: a loaded machine paused a key
        QTRY_COMPARE_WITH_TIMEOUT(writer.syncs(), synced + 1, 3000);
    }
};

KESTRIN_REGISTER_TEST(TestJournal);

#include "tst_journal.moc"

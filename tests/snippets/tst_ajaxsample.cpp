#include "TestRegistry.h"

#include "SampleFolder.h"
#include "snippets/AjaxSample.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

using namespace kestrin;
using kestrin::test::SampleFolder;

class TestAjaxSample : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lines_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("empty") << QByteArray() << QByteArray();
        QTest::newRow("CR LF lines") << QByteArray("a\r\nb\r\n") << QByteArray("a\r\nb\r\n");
        QTest::newRow("last line without break") << QByteArray("a\r\nb") << QByteArray("a\r\nb\r\n");
        QTest::newRow("one line without break") << QByteArray("abc") << QByteArray("abc\r\n");
        QTest::newRow("CR lines") << QByteArray("a\rb\r") << QByteArray("a\r\nb\r\n");
        QTest::newRow("lone LF stays") << QByteArray("a\nb\r\n") << QByteArray("a\nb\r\n");
        QTest::newRow("lone LF at end") << QByteArray("a\n") << QByteArray("a\n\r\n");
        QTest::newRow("only LF") << QByteArray("\n") << QByteArray("\n\r\n");
        QTest::newRow("empty lines") << QByteArray("\r\n\r\n") << QByteArray("\r\n\r\n");
        QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << QByteArray("a\r\n\r\nb\r\n");
        QTest::newRow("LF CR") << QByteArray("a\n\rb") << QByteArray("a\n\r\nb\r\n");
    }
    void lines()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, text);
        QCOMPARE(ajaxSampleText(file), text);
    }

    void missingFile()
    {
        SampleFolder folder;
        const AjaxSample s = readAjaxSample(folder.path());
        QCOMPARE(s.status, AjaxSample::Status::Missing);
        QCOMPARE(s.text, QByteArray("Sample missing"));
    }

    void directoryIsNotTheSample()
    {
        SampleFolder folder;
        QVERIFY(folder.makeSampleADirectory());
        const AjaxSample s = readAjaxSample(folder.path());
        QCOMPARE(s.status, AjaxSample::Status::Missing);
        QCOMPARE(s.text, QByteArray("Sample missing"));
    }

    void presentFile()
    {
        SampleFolder folder;
        QVERIFY(folder.writeSample("one\r\ntwo"));
        const AjaxSample s = readAjaxSample(folder.path());
        QCOMPARE(s.status, AjaxSample::Status::Read);
        QCOMPARE(s.text, QByteArray("one\r\ntwo\r\n"));
    }

    void emptyFile()
    {
        SampleFolder folder;
        QVERIFY(folder.writeSample(QByteArray()));
        const AjaxSample s = readAjaxSample(folder.path());
        QCOMPARE(s.status, AjaxSample::Status::Read);
        QVERIFY(s.text.isEmpty());
    }

    void unreadableFile()
    {
        SampleFolder folder;
        const QString how = folder.makeSampleUnreadable();
        if (how.isEmpty())
            QSKIP("no way to make a file unreadable here");
        const AjaxSample s = readAjaxSample(folder.path());
        QCOMPARE(s.status, AjaxSample::Status::Unreadable);
        QVERIFY(s.text.isEmpty());
    }

    // The sample we ship: ASCII, CR LF line ends only, and read back unchanged.
    void shippedSample()
    {
        // CTest names the source folder; run by hand, the folder is found from this file's path.
        const QString source = qEnvironmentVariable(
            "KESTRIN_SOURCE_DIR", QFileInfo(QStringLiteral(__FILE__)).absoluteDir().filePath(QStringLiteral("../..")));
        QFile f(source + QStringLiteral("/resources/ajax_sampl.dat"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.contains("function getHTTPObject()"));
        QVERIFY(bytes.contains("XMLHttpRequest"));
        QVERIFY(bytes.endsWith("\r\n"));
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            QVERIFY(uchar(bytes[i]) < 0x80);
            QVERIFY(bytes[i] != '\t');
            if (bytes[i] == '\n')
                QVERIFY(i > 0 && bytes[i - 1] == '\r');
        }
        QCOMPARE(ajaxSampleText(bytes), bytes);
    }
};
KESTRIN_REGISTER_TEST(TestAjaxSample);

#include "tst_ajaxsample.moc"

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
        QTest::newRow("CR lines") << QByteArray("a\rb\r") << QByteArray("a\r\nb\r\n");
        QTest::newRow("lone LF stays") << QByteArray("a\nb\r\n") << QByteArray("a\nb\r\n");
        QTest::newRow("lone LF at end") << QByteArray("a\n") << QByteArray("a\n\r\n");
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

    // A sample file present, absent, a folder in its place, empty or unreadable.
    void readSample_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("present") << "one\r\ntwo" << int(AjaxSample::Status::Read) << QByteArray("one\r\ntwo\r\n");
        QTest::newRow("empty") << "" << int(AjaxSample::Status::Read) << QByteArray();
        QTest::newRow("missing") << "missing" << int(AjaxSample::Status::Missing) << QByteArray("Sample missing");
        QTest::newRow("a folder") << "folder" << int(AjaxSample::Status::Missing) << QByteArray("Sample missing");
        QTest::newRow("unreadable") << "unreadable" << int(AjaxSample::Status::Unreadable) << QByteArray();
    }
    void readSample()
    {
        QFETCH(QString, state);
        QFETCH(int, status);
        QFETCH(QByteArray, text);
        SampleFolder folder;
        if (state == QLatin1String("folder"))
            QVERIFY(folder.makeSampleADirectory());
        else if (state == QLatin1String("unreadable") && folder.makeSampleUnreadable().isEmpty())
            QSKIP("no way to make a file unreadable here");
        else if (state != QLatin1String("missing") && state != QLatin1String("unreadable"))
            QVERIFY(folder.writeSample(state.toLatin1()));
        const AjaxSample s = readAjaxSample(folder.path());
        QCOMPARE(int(s.status), status);
        QCOMPARE(s.text, text);
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

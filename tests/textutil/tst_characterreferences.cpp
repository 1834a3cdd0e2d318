#include "TestRegistry.h"

#include "textutil/CharacterReferences.h"

#include <QTest>

using namespace kestrin;

class TestCharacterReferences : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The fixed-text buttons, whose caption is not the character inserted, and a few derived ones.
    void reference_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("AND") << 5 << QStringLiteral("AND") << QByteArray("&#38;");
        QTest::newRow("t") << 10 << QStringLiteral("t") << QByteArray("&#355;");
        QTest::newRow("T") << 11 << QStringLiteral("T") << QByteArray("&#222;");
        QTest::newRow("s") << 12 << QStringLiteral("s") << QByteArray("&#351;");
        QTest::newRow("S") << 13 << QStringLiteral("S") << QByteArray("&#170;");
        QTest::newRow("double quote") << 7 << QStringLiteral("\"") << QByteArray("&#34;");
        QTest::newRow("@") << 32 << QStringLiteral("@") << QByteArray("&#64;");
        QTest::newRow("á") << 0 << QStringLiteral("á") << QByteArray("&#225;");
        QTest::newRow("µ") << 39 << QStringLiteral("µ") << QByteArray("&#181;");
        QTest::newRow("replace button") << 40 << QStringLiteral("Replace special caracters with html code") << QByteArray();
    }
    void reference()
    {
        QFETCH(int, index);
        QFETCH(QString, caption);
        QFETCH(QByteArray, text);
        QCOMPARE(characterButtonCaption(index), caption);
        QCOMPARE(characterReference(index), text);
    }

    void outOfRangeInsertsNothing()
    {
        QVERIFY(characterReference(-1).isEmpty());
        QVERIFY(characterReference(41).isEmpty());
    }

    // No two buttons share a cell, and button 40 sits below the lowest row.
    void gridHasNoOverlaps()
    {
        const QRect replaceButton = characterButtonTwips(40);
        for (int i = 0; i < 40; ++i) {
            const QRect r = characterButtonTwips(i);
            QVERIFY(r.bottom() < replaceButton.top());
            for (int j = 0; j < i; ++j)
                QVERIFY2(!r.intersects(characterButtonTwips(j)), qPrintable(QStringLiteral("%1 and %2").arg(i).arg(j)));
        }
    }

    void replaceSpecialCharacters_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("Café Ölé") << QByteArray("Café Ölé") << QByteArray("Caf&#233; &#214;l&#233;");
        QTest::newRow("ã ß & reference") << QByteArray("ã Ã ß & &#233; &eacute;") << QByteArray("ã Ã ß & &#233; &eacute;");
        QTest::newRow("all twenty")
            << QByteArray("áÁéÉõÕúÚóÓüÜöÖíÍÎîÂâ")
            << QByteArray("&#225;&#193;&#233;&#201;&#245;&#213;&#250;&#218;&#243;&#211;"
                          "&#252;&#220;&#246;&#214;&#237;&#205;&#206;&#238;&#194;&#226;");
        QTest::newRow("empty") << QByteArray() << QByteArray();
        QTest::newRow("other scripts") << QByteArray("€ Ωé 日本 Ç") << QByteArray("€ Ω&#233; 日本 Ç");
        QTest::newRow("lone lead byte at end") << QByteArray("a\xC3") << QByteArray("a\xC3");
        QTest::newRow("lead byte before ASCII") << QByteArray("\xC3" "a é") << QByteArray("\xC3" "a &#233;");
        QTest::newRow("line breaks") << QByteArray("é\r\nó\n") << QByteArray("&#233;\r\n&#243;\n");
        QTest::newRow("adjacent") << QByteArray("üéâÜ&é") << QByteArray("&#252;&#233;&#226;&#220;&&#233;");
    }
    void replaceSpecialCharacters()
    {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        QCOMPARE(ReplaceSpecialCharacters(input), expected);
    }
};
KESTRIN_REGISTER_TEST(TestCharacterReferences);

#include "tst_characterreferences.moc"

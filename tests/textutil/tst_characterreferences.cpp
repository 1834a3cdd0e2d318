#include "TestRegistry.h"

#include "textutil/CharacterReferences.h"

#include <QRandomGenerator>
#include <QTest>

using namespace kestrin;

namespace {

// The rewrite as defined: twenty whole-text replacements in table order.
QByteArray replaceInTwentySteps(const QByteArray &utf8)
{
    static const std::pair<const char *, const char *> steps[] = {
        {"á", "&#225;"}, {"Á", "&#193;"}, {"é", "&#233;"}, {"É", "&#201;"}, {"õ", "&#245;"},
        {"Õ", "&#213;"}, {"ú", "&#250;"}, {"Ú", "&#218;"}, {"ó", "&#243;"}, {"Ó", "&#211;"},
        {"ü", "&#252;"}, {"Ü", "&#220;"}, {"ö", "&#246;"}, {"Ö", "&#214;"}, {"í", "&#237;"},
        {"Í", "&#205;"}, {"Î", "&#206;"}, {"î", "&#238;"}, {"Â", "&#194;"}, {"â", "&#226;"},
    };
    QByteArray text = utf8;
    for (const auto &[letter, reference] : steps)
        text.replace(QByteArray(letter), QByteArray(reference));
    return text;
}

} // namespace

class TestCharacterReferences : public QObject {
    Q_OBJECT
private Q_SLOTS:
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
        QTest::newRow("%") << 1 << QStringLiteral("%") << QByteArray("&#37;");
        QTest::newRow("Í") << 26 << QStringLiteral("Í") << QByteArray("&#205;");
        QTest::newRow("ß") << 31 << QStringLiteral("ß") << QByteArray("&#223;");
        QTest::newRow("¢") << 33 << QStringLiteral("¢") << QByteArray("&#162;");
        QTest::newRow("µ") << 39 << QStringLiteral("µ") << QByteArray("&#181;");
    }
    void reference()
    {
        QFETCH(int, index);
        QFETCH(QString, caption);
        QFETCH(QByteArray, text);
        QCOMPARE(characterButtonCaption(index), caption);
        QCOMPARE(characterReference(index), text);
    }

    void replaceButtonInsertsNothing()
    {
        QCOMPARE(characterButtonCaption(40), QStringLiteral("Replace special caracters with html code"));
        QVERIFY(characterReference(40).isEmpty());
        QVERIFY(characterReference(-1).isEmpty());
        QVERIFY(characterReference(41).isEmpty());
    }

    // Every caption but "AND" and button 40's is one character of the Latin-1 range.
    void captionsAreSingleLatin1Characters()
    {
        for (int i = 0; i < 40; ++i) {
            const QString caption = characterButtonCaption(i);
            if (i == 5)
                continue;
            QCOMPARE(caption.size(), 1);
            QVERIFY2(caption.at(0).unicode() >= 32 && caption.at(0).unicode() <= 255, qPrintable(caption));
        }
    }

    // The grid: 3 columns, rows every 360 twips from 240, no two buttons in one cell, button 40
    // below the lowest row.
    void gridHasNoOverlaps()
    {
        int lowestBottom = 0;
        for (int i = 0; i < 40; ++i) {
            const QRect r = characterButtonTwips(i);
            QCOMPARE(r.size(), QSize(500, 315));
            QVERIFY(r.x() == 420 || r.x() == 960 || r.x() == 1500);
            QCOMPARE((r.y() - 240) % 360, 0);
            lowestBottom = qMax(lowestBottom, r.y() + r.height());
            for (int j = 0; j < i; ++j)
                QVERIFY2(!r.intersects(characterButtonTwips(j)), qPrintable(QStringLiteral("%1 and %2").arg(i).arg(j)));
        }
        QCOMPARE(characterButtonTwips(40), QRect(420, 6060, 2235, 735));
        QVERIFY(lowestBottom <= 6060);
        QCOMPARE(characterButtonTwips(0).topLeft(), QPoint(420, 240));   // column 1, row 1
        QCOMPARE(characterButtonTwips(39).topLeft(), QPoint(1500, 5640)); // column 3, row 16
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
        QTest::newRow("other scripts") << QByteArray("€ Ωé 日本") << QByteArray("€ Ω&#233; 日本");
        QTest::newRow("lone lead byte at end") << QByteArray("a\xC3") << QByteArray("a\xC3");
        QTest::newRow("lead byte before ASCII") << QByteArray("\xC3" "a é") << QByteArray("\xC3" "a &#233;");
        QTest::newRow("line breaks") << QByteArray("é\r\nó\n") << QByteArray("&#233;\r\n&#243;\n");
    }
    void replaceSpecialCharacters()
    {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        QCOMPARE(ReplaceSpecialCharacters(input), expected);
    }

    void replaceMatchesTwentySteps()
    {
        const QList<QByteArray> pieces = {"a", " ", "é", "ã", "Ü", "â", "ú", "\r\n", "&", "€", "Ç"};
        QRandomGenerator rng(7);
        for (int round = 0; round < 2000; ++round) {
            QByteArray s;
            const int n = int(rng.bounded(30));
            for (int i = 0; i < n; ++i)
                s += pieces[int(rng.bounded(int(pieces.size())))];
            QCOMPARE(ReplaceSpecialCharacters(s), replaceInTwentySteps(s));
        }
    }

    void unchangedTextIsShared()
    {
        const QByteArray text("ã ß nothing to do");
        QVERIFY(ReplaceSpecialCharacters(text).isSharedWith(text));
    }
};
KESTRIN_REGISTER_TEST(TestCharacterReferences);

#include "tst_characterreferences.moc"

#include "TestRegistry.h"

#include <QIcon>
#include <QImage>
#include <QTest>

class TestRegistrationIcons : public QObject {
    Q_OBJECT

private slots:
    // The toolbar's and the desktop's pictures need Qt's SVG plugins (Debian: libqt6svg6), without which every button
    // is blank; the Windows document icons beside the executable need frames up to 48 pixels.
    void painted_data()
    {
        QTest::addColumn<QString>("path"), QTest::addColumn<QList<int>>("sizes");
        for (const char *name : {"new", "open", "save", "undo", "redo", "bold", "italic", "underline", "fontface",
                                 "fontcolor", "colorcode", "alignleft", "center", "alignright", "linebreak", "kestrin4",
                                 "kestrin4-htm", "kestrin4-php", "kestrin4-js", "kestrin4-css", "kestrin4-tpl"})
            QTest::newRow(name) << QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)) << QList<int>{16, 32};
        for (const char *name : {"htm.ico", "php.ico", "js.ico", "css.ico", "tpl.ico"})
            QTest::newRow(name) << qEnvironmentVariable("KESTRIN_BUILD_DIR") + "/img/" + name << QList<int>{16, 32, 48};
    }
    void painted()
    {
        QFETCH(QString, path); QFETCH(QList<int>, sizes);
        if (path.startsWith("/img/")) QSKIP("KESTRIN_BUILD_DIR is not set (CTest sets it)");
        const QIcon icon(path);
        for (const int size : sizes) {
            const QImage image = icon.pixmap(size).toImage();
            QCOMPARE(image.size(), QSize(size, size));
            int painted = 0; // a picture that failed to render has no pixel that is not transparent
            for (int i = 0; i < size * size; ++i) painted += qAlpha(image.pixel(i % size, i / size)) > 0;
            QVERIFY2(painted > size * size / 8, qPrintable(QStringLiteral("%1 px").arg(size)));
        }
    }
};

KESTRIN_REGISTER_TEST(TestRegistrationIcons);
#include "tst_registration_icons.moc"

#include "TestRegistry.h"

#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QTest>

namespace {

// Pixels that are not fully transparent: a picture that failed to render has none.
int paintedPixels(const QImage &image)
{
    int painted = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            painted += qAlpha(image.pixel(x, y)) > 0;
    }
    return painted;
}

} // namespace

class TestRegistrationIcons : public QObject {
    Q_OBJECT

private slots:
    void resourcePictures_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"new", "open", "save", "undo", "redo", "bold", "italic", "underline", "fontface",
                                 "fontcolor", "colorcode", "alignleft", "center", "alignright", "linebreak", "kestrin4",
                                 "kestrin4-htm", "kestrin4-php", "kestrin4-js", "kestrin4-css", "kestrin4-tpl"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    // Needs Qt's SVG plugins (Debian: libqt6svg6); without them every toolbar button is blank.
    void resourcePictures()
    {
        QFETCH(QString, name);
        const QIcon icon(QStringLiteral(":/icons/%1.svg").arg(name));
        for (const int size : {16, 32}) {
            const QImage image = icon.pixmap(size, size).toImage();
            QCOMPARE(image.size(), QSize(size, size));
            QVERIFY2(paintedPixels(image) > size * size / 8, qPrintable(QStringLiteral("%1 px").arg(size)));
        }
    }

    void documentTypeIconsBesideTheExecutable_data()
    {
        QTest::addColumn<QString>("file");
        for (const char *file : {"htm.ico", "php.ico", "js.ico", "css.ico", "tpl.ico"})
            QTest::newRow(file) << QString::fromLatin1(file);
    }
    void documentTypeIconsBesideTheExecutable()
    {
        QFETCH(QString, file);
        const QString build = qEnvironmentVariable("KESTRIN_BUILD_DIR");
        if (build.isEmpty())
            QSKIP("KESTRIN_BUILD_DIR is not set (CTest sets it)");
        QImageReader reader(build + QStringLiteral("/img/") + file);
        QVERIFY2(reader.canRead(), qPrintable(reader.errorString()));
        QList<QSize> sizes;
        do {
            const QImage frame = reader.read();
            QVERIFY2(!frame.isNull(), qPrintable(reader.errorString()));
            QVERIFY(paintedPixels(frame) > 0);
            sizes << frame.size();
        } while (reader.jumpToNextImage());
        QVERIFY(sizes.contains(QSize(16, 16)));
        QVERIFY(sizes.contains(QSize(32, 32)));
        QVERIFY(sizes.contains(QSize(48, 48)));
    }
};

KESTRIN_REGISTER_TEST(TestRegistrationIcons);
#include "tst_registration_icons.moc"

#include "TestRegistry.h"

#include "app/RegistrationWindows.h"

#include <QMap>
#include <QTest>

using namespace kestrin;

namespace {

// An in-memory class registry that keeps every operation in order. Keys compare without case,
// as the real registry's do. A key matching failPrefix (or every key, with failAll) refuses
// each operation, so tests see that registration goes on past failures.
class RecordingRegistry final : public Registry {
public:
    QStringList log;
    QMap<QString, QMap<QString, QString>> keys; // lower-case key -> value name -> data
    bool failAll = false;
    QString failPrefix;

    bool createKey(Root, const QString &key) override
    {
        log << QStringLiteral("create %1").arg(key);
        if (fails(key))
            return false;
        createKeySilently(key);
        return true;
    }
    bool setString(Root, const QString &key, const QString &name, const QString &data) override
    {
        log << QStringLiteral("set %1 [%2] = %3").arg(key, name, data);
        if (fails(key))
            return false;
        createKeySilently(key);
        keys[key.toLower()][name] = data;
        return true;
    }
    bool deleteKey(Root, const QString &key) override
    {
        log << QStringLiteral("delete %1").arg(key);
        if (fails(key) || !keys.contains(key.toLower()))
            return false;
        const QString prefix = key.toLower() + QLatin1Char('\\');
        for (const QString &k : keys.keys()) {
            if (k.startsWith(prefix))
                return false; // like the real call, a key with subkeys stays
        }
        keys.remove(key.toLower());
        return true;
    }
    QString value(const QString &key, const QString &name = QString()) const
    {
        return keys.value(key.toLower()).value(name, QStringLiteral("<none>"));
    }

private:
    bool fails(const QString &key) const
    {
        return failAll || (!failPrefix.isEmpty() && key.startsWith(failPrefix, Qt::CaseInsensitive));
    }
    // Parents come into being with the key.
    void createKeySilently(const QString &key)
    {
        const QStringList parts = key.split(QLatin1Char('\\'));
        for (qsizetype n = 1; n <= parts.size(); ++n)
            keys[parts.mid(0, n).join(QLatin1Char('\\')).toLower()];
    }
};

const QString programFolder = QStringLiteral("C:\\Program Files\\Kestrin 4");
const QString command = QStringLiteral("\"C:\\Program Files\\Kestrin 4\\kestrin4.exe\" %1");

// The operations one type takes, in the order the registry sees them.
QStringList expectedOperations(const QString &e, const QString &description, const QString &icon)
{
    const QString c = e + QStringLiteral("file");
    return {
        QStringLiteral("create .%1").arg(e),
        QStringLiteral("create %1").arg(c),
        QStringLiteral("create %1\\DefaultIcon").arg(c),
        QStringLiteral("create %1\\Shell").arg(c),
        QStringLiteral("create %1\\Shell\\open").arg(c),
        QStringLiteral("create %1\\Shell\\open\\command").arg(c),
        QStringLiteral("set .%1 [] = %2").arg(e, c),
        QStringLiteral("set %1 [] = %2").arg(c, description),
        QStringLiteral("set %1\\DefaultIcon [] = %2\\img\\%3").arg(c, programFolder, icon),
        QStringLiteral("set %1\\Shell [] = open").arg(c),
        QStringLiteral("set %1\\Shell\\open [] = &open").arg(c),
        QStringLiteral("set %1\\Shell\\open\\command [] = %2").arg(c, command),
        QStringLiteral("create .%1\\ShellNew").arg(e),
        QStringLiteral("set .%1\\ShellNew [NullFile] = ").arg(e),
        QStringLiteral("delete %1\\QuickView").arg(c),
    };
}

QStringList expectedRun()
{
    return expectedOperations("html", "HTML Document", "htm.ico") + expectedOperations("htm", "HTM Document", "htm.ico")
           + expectedOperations("php", "PHP Document", "php.ico") + expectedOperations("js", "JS File", "js.ico")
           + expectedOperations("css", "CSS File", "css.ico") + expectedOperations("tpl", "TPL File", "tpl.ico");
}

} // namespace

class TestRegistrationWindows : public QObject {
    Q_OBJECT

private slots:
    void writesEveryTypeInTableOrder()
    {
        RecordingRegistry registry;
        registerWindowsDocumentTypes(registry, programFolder, QStringLiteral("kestrin4"));
        QCOMPARE(registry.log, expectedRun());
    }

    void existingClassKeyKeepsItsOtherEntries()
    {
        RecordingRegistry registry;
        registry.setString(Registry::Root::ClassesRoot, "htmlfile", QString(), "Old description");
        registry.setString(Registry::Root::ClassesRoot, "htmlfile", "EditFlags", "65536");
        registry.setString(Registry::Root::ClassesRoot, "htmlfile\\Shell\\edit\\command", QString(), "notepad.exe %1");
        registry.setString(Registry::Root::ClassesRoot, "htmlfile\\QuickView", QString(), "*");
        registry.setString(Registry::Root::ClassesRoot, ".html", "Content Type", "text/html");
        registry.log.clear();

        registerWindowsDocumentTypes(registry, programFolder, QStringLiteral("kestrin4"));
        QCOMPARE(registry.value("htmlfile"), QStringLiteral("HTML Document"));
        QCOMPARE(registry.value("htmlfile", "EditFlags"), QStringLiteral("65536"));
        QCOMPARE(registry.value("htmlfile\\Shell\\edit\\command"), QStringLiteral("notepad.exe %1"));
        QCOMPARE(registry.value(".html", "Content Type"), QStringLiteral("text/html"));
        QVERIFY(!registry.keys.contains("htmlfile\\quickview"));
        QCOMPARE(registry.log, expectedRun());
        // A second run writes the same steps and leaves the same registry.
        const auto afterFirst = registry.keys;
        registry.log.clear();
        registerWindowsDocumentTypes(registry, programFolder, QStringLiteral("kestrin4"));
        QCOMPARE(registry.keys, afterFirst);
        QCOMPARE(registry.log, expectedRun());
    }

    void failuresAreIgnored_data()
    {
        QTest::addColumn<bool>("failAll");
        QTest::addColumn<QString>("failPrefix");
        QTest::newRow("every operation fails") << true << QString();
        QTest::newRow("phpfile refused") << false << QStringLiteral("phpfile");
        QTest::newRow(".html refused") << false << QStringLiteral(".html");
    }
    void failuresAreIgnored()
    {
        QFETCH(bool, failAll);
        QFETCH(QString, failPrefix);
        RecordingRegistry registry;
        registry.failAll = failAll;
        registry.failPrefix = failPrefix;
        registerWindowsDocumentTypes(registry, programFolder, QStringLiteral("kestrin4"));
        // Every step was still tried, in order, and the types after a refused one are written.
        QCOMPARE(registry.log, expectedRun());
        if (!failAll)
            QCOMPARE(registry.value("tplfile"), QStringLiteral("TPL File"));
    }

    void shellNewAndQuickViewSwitches()
    {
        RecordingRegistry registry;
        QVERIFY(SetQuickViewEntry(registry, "php", true));
        QCOMPARE(registry.value("phpfile\\QuickView"), QStringLiteral("*"));
        QVERIFY(SetQuickViewEntry(registry, "php", false));
        QVERIFY(!registry.keys.contains("phpfile\\quickview"));
        // Deleting what is not there fails quietly and reports it.
        QVERIFY(!SetQuickViewEntry(registry, "php", false));

        QVERIFY(SetShellNewEntry(registry, "php", true));
        QCOMPARE(registry.value(".php\\ShellNew", "NullFile"), QString());
        QVERIFY(SetShellNewEntry(registry, "php", false));
        QVERIFY(!registry.keys.contains(".php\\shellnew"));

        registry.failAll = true;
        QVERIFY(!SetShellNewEntry(registry, "css", true));
        QVERIFY(!SetQuickViewEntry(registry, "css", true));
    }
};

KESTRIN_REGISTER_TEST(TestRegistrationWindows);
#include "tst_registration_windows.moc"

#include "TestRegistry.h"

#include "app/RegistrationWindows.h"

#include <QMap>
#include <QTest>

using namespace kestrin;

namespace {

// An in-memory class registry; keys starting with `refused` refuse every operation.
class FakeRegistry final : public Registry {
public:
    QMap<QString, QMap<QString, QString>> keys; // key -> value name -> data
    QString refused;

    bool createKey(Root, const QString &key) override { return allowed(key) && (keys[key], true); }
    bool setString(Root, const QString &key, const QString &name, const QString &data) override
    { return allowed(key) && (keys[key][name] = data, true); }
    bool deleteKey(Root, const QString &key) override { return allowed(key) && keys.remove(key) > 0; }
    QString value(const QString &key, const QString &name = QString()) const
    { return keys.value(key).value(name, QStringLiteral("<none>")); }

private:
    bool allowed(const QString &key) const { return refused.isEmpty() || !key.startsWith(refused); }
};

} // namespace

class TestRegistrationWindows : public QObject {
    Q_OBJECT

private slots:
    void registersEveryType_data()
    {
        QTest::addColumn<QStringList>("row"); // extension, its class's description and icon, the keys refused
        QTest::newRow("html") << QStringList{"html", "HTML Document", "htm.ico", ""};
        QTest::newRow("php") << QStringList{"php", "PHP Document", "php.ico", ""};
        QTest::newRow("tpl, phpfile refused") << QStringList{"tpl", "TPL File", "tpl.ico", "phpfile"};
    }
    // Over an existing class key: its other entries stay, its QuickView goes; a refused key
    // stops nothing; a second run leaves the same registry.
    void registersEveryType()
    {
        QFETCH(QStringList, row);
        const QString e = row[0], c = e + "file", folder = QStringLiteral("C:\\Program Files\\Kestrin 4");
        FakeRegistry r;
        r.refused = row[3];
        r.keys = {{c, {{"", "Old description"}, {"EditFlags", "65536"}}}, {c + "\\Shell\\edit\\command", {{"", "notepad.exe %1"}}},
                  {c + "\\QuickView", {{"", "*"}}}, {"." + e, {{"Content Type", "text/plain"}}}};
        registerWindowsDocumentTypes(r, folder, QStringLiteral("kestrin4"));
        const auto first = r.keys;
        registerWindowsDocumentTypes(r, folder, QStringLiteral("kestrin4"));
        QCOMPARE(r.keys, first);
        const QStringList got{r.value("." + e), r.value("." + e, "Content Type"), r.value(c), r.value(c, "EditFlags"),
                              r.value(c + "\\Shell\\edit\\command"), r.value(c + "\\DefaultIcon"), r.value(c + "\\Shell"),
                              r.value(c + "\\Shell\\open"), r.value(c + "\\Shell\\open\\command"), r.value("." + e + "\\ShellNew", "NullFile")};
        QCOMPARE(got, QStringList({c, "text/plain", row[1], "65536", "notepad.exe %1", folder + "\\img\\" + row[2], "open",
                                   "&open", "\"" + folder + "\\kestrin4.exe\" %1", ""}));
        QVERIFY(!r.keys.contains(c + "\\QuickView"));
    }
};

KESTRIN_REGISTER_TEST(TestRegistrationWindows);
#include "tst_registration_windows.moc"

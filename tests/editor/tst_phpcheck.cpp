#include "FileBytes.h"
#include "TestRegistry.h"

#include "editor/component/CodeEdit.h"
#include "editor/frmEdit.h"
#include "phpcheck/PhpCheck.h"

#include <QtTest>
#include <QtWidgets>

using namespace kestrin;

class TestPhpCheck : public QObject {
    Q_OBJECT
    // Opens bytes as name in dir, marks line 1 as an earlier check would have, and saves.
    bool save(frmEdit &w, QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
    {
        if (!test::writeBytes(dir.filePath(name), bytes) || !w.RC->document()->load(dir.filePath(name)))
            return false;
        w.RC->markProblem(1, QStringLiteral("from an earlier check"));
        return w.mnuSave_Click();
    }
private Q_SLOTS:
    // A saved PHP document with a parse error gets the marker, the underline and the message on the
    // line php reports, moving with it; a sound one loses an earlier mark. The file stays as saved.
    void marksPhpsLine_data()
    {
        QTest::addColumn<QByteArray>("source"), QTest::addColumn<int>("line"), QTest::addColumn<QString>("name"); // line 0: sound
        const char *broken[][2] = {
            {"<?php\necho 1\necho 2;\n", "3"}, {"<?php\nif ($a) {\n  echo 1;\n", "4"}, {"<?php\nfunction f( {\n}\n", "2"},
            {"<?php\n$a = [1, 2;\n", "2"}, {"<?php\n$a = 'unterminated;\n", "2"}, {"<?php\nclass {\n}\n", "2"},
            {"<?php\nforeach ($a as) {}\n", "2"}, {"<?php\n\n\n$x = 1 +;\n", "4"}, {"<?php\nwhile (true {\n}\n", "3"},
            {"<p>html</p>\n<?php echo $a ?>\n<?php if ($b) { ?>\n<p>x</p>\n", "5"}, {"<?php\n$a = \"abc\n", "3"},
            {"<?php\necho 'a' 'b';\n", "2"}, {"<?php\nfunction () {}\n", "3"}, {"<?php\n$a->;\n", "2"},
            {"<?php\nreturn return;\n", "2"}, {"<?php\n}\n", "2"}, {"<?php\n)\n", "2"}, {"<?php\n$a = array(1, 2\n;\n", "3"},
            {"<?php\nswitch ($a) {\n  case 1\n    break;\n}\n", "4"}, {"<?php\nnamespace ;\n", "2"},
            {"<?php\n$a = fn($x) => ;\n", "2"}, {"<?php\nclass A { public function }\n", "2"},
            {"<?php\n/* open comment\n$a = 1;\n", "2"}, {"<?php\n$$;\n", "2"}, {"<?php\nfor ($i = 0; $i < 3 $i++) {}\n", "2"},
            {"<?php\nuse ;\n", "2"}, {"<?php\nif ($a) else {}\n", "2"}, {"<?php\n$a = <<<EOT\nabc\n", "4"},
            {"<?php\ninterface I { function f() {} }\n$a = 1\n$b = 2;\n", "4"}, {"<?php\n\n$this = 1;\n", "3"},
        };
        for (const auto &[source, line] : broken)
            QTest::newRow(source) << QByteArray(source) << QByteArray(line).toInt() << QStringLiteral("a.php");
        QTest::newRow("html with php") << QByteArray("<html>\n<body>\n<?PHP\n  echo \"<b>\" . $n \"</b>\";\n?>\n") << 4 << QStringLiteral("a.html");
        QTest::newRow("tpl with php") << QByteArray("{if $a}\n<?php\necho 1\necho 2; ?>{/if}\n") << 4 << QStringLiteral("a.tpl");
        QTest::newRow("sound") << QByteArray("<?php\necho 1;\n") << 0 << QStringLiteral("a.php");
        QTest::newRow("sound html") << QByteArray("<p><?php echo 1; ?></p>\n") << 0 << QStringLiteral("a.htm");
    }
    void marksPhpsLine()
    {
        QFETCH(QByteArray, source); QFETCH(int, line); QFETCH(QString, name);
        if (phpProgram().isEmpty()) QSKIP("php is not installed (scripts/install-deps.sh test installs it)");
        QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/php in check-XXXXXX")); // php names it in its message
        frmEdit w;
        QVERIFY(save(w, dir, name, source));
        QTRY_COMPARE(w.RC->problemLine(), qint64(line));
        QCOMPARE(test::readBytes(dir.filePath(name)), source);
        QCOMPARE(w.RC->Text(), source);
        const QString said = w.RC->editorWidget()->accessibleDescription();
        QCOMPARE(said.isEmpty(), line == 0);
        if (line == 0) return;
        const QRegularExpression asPhpSaysIt(QStringLiteral("^PHP (Parse|Fatal) error: .+ on line %1$").arg(line));
        QVERIFY2(asPhpSaysIt.match(said).hasMatch() && !said.contains(QDir::tempPath()) && !said.contains(QRegularExpression(" in +on line")), qPrintable(said));
        w.RC->setSelectedText("\n"); // the caret is at the start: every line moves down one
        QCOMPARE(w.RC->problemLine(), qint64(line + 1));
    }

    // Without php (a PATH without it), or with a php that crashes, nothing is marked or said (an
    // earlier check's mark goes), and only the About box tells that the check cannot run.
    void marksNothingWithoutPhp()
    {
        QTemporaryDir dir, bin;
        auto restore = qScopeGuard([path = qgetenv("PATH")] { qputenv("PATH", path); });
        QCOMPARE(aboutText().contains(QLatin1String("php not found")), phpProgram().isEmpty());
        qputenv("PATH", QFile::encodeName(bin.path()));
        QVERIFY(aboutText().endsWith(QLatin1String("\nPHP syntax check: php not found")));
        frmEdit w;
        QVERIFY(save(w, dir, QStringLiteral("a.php"), "<?php\n}\n"));
        QCOMPARE(w.RC->problemLine(), qint64(0));
        QVERIFY(test::writeBytes(bin.filePath("php"), "#!/bin/sh\necho 'Parse error: x in a.php on line 1'\nkill -SEGV $$\n")
                && QFile::setPermissions(bin.filePath("php"), QFile::ReadOwner | QFile::ExeOwner));
        QVERIFY(save(w, dir, QStringLiteral("a.php"), "<?php\n}\n"));
        QTest::qWait(500);
        QCOMPARE(w.RC->problemLine(), qint64(0)); // php's words before the crash are not taken
        QVERIFY(w.RC->editorWidget()->accessibleDescription().isEmpty());
    }
};
KESTRIN_REGISTER_TEST(TestPhpCheck);

#include "tst_phpcheck.moc"

#include "TestRegistry.h"

#include "app/ProcessPolicy.h"

#ifdef KESTRIN_TEST_CORE
#include <QCoreApplication>
using Application = QCoreApplication;
#else
#include <QApplication>
using Application = QApplication;
#endif
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <memory>

int main(int argc, char **argv)
{
    kestrin::applyHeapPolicy();
    QTemporaryDir state; // recovery journals of the windows the tests open go to a folder of the run, never the home
    qputenv("XDG_STATE_HOME", state.path().toUtf8());
    Application app(argc, argv);
#ifndef KESTRIN_TEST_CORE
    app.setQuitOnLastWindowClosed(false);
#endif
    const QByteArray only = qgetenv("KESTRIN_TEST_ONLY");
    int failed = 0, ran = 0;
    for (auto &[name, factory] : kestrin::test::TestRegistry::all()) {
        if (!only.isEmpty() && !only.split(',').contains(QByteArray(name))) continue;
        const std::unique_ptr<QObject> test(factory());
        failed += QTest::qExec(test.get(), argc, argv) != 0, ++ran;
    }
    std::printf("%d test classes, %d failed\n", ran, failed);
    return failed == 0 ? 0 : 1;
}

#include "TestRegistry.h"

#include "document/HeapPolicy.h"

#ifdef KESTRIN_TEST_CORE
#include <QCoreApplication>
#else
#include <QApplication>
#endif
#include <QTest>
#include <cstdio>
#include <memory>

namespace kestrin::test {

std::vector<std::pair<const char *, TestRegistry::Factory>> &TestRegistry::all()
{
    static std::vector<std::pair<const char *, Factory>> registry;
    return registry;
}

int TestRegistry::add(const char *name, Factory factory)
{
    all().emplace_back(name, std::move(factory));
    return int(all().size());
}

} // namespace kestrin::test

int main(int argc, char **argv)
{
    kestrin::keepFreedBlocksInHeap();
#ifdef KESTRIN_TEST_CORE
    QCoreApplication app(argc, argv);
#else
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
#endif
    const QByteArray only = qgetenv("KESTRIN_TEST_ONLY");
    int failedClasses = 0;
    int ran = 0;
    for (auto &[name, factory] : kestrin::test::TestRegistry::all()) {
        if (!only.isEmpty() && !only.split(',').contains(QByteArray(name)))
            continue;
        std::unique_ptr<QObject> test(factory());
        if (QTest::qExec(test.get(), argc, argv) != 0)
            ++failedClasses;
        ++ran;
    }
    std::printf("%d test classes, %d failed\n", ran, failedClasses);
    return failedClasses == 0 ? 0 : 1;
}

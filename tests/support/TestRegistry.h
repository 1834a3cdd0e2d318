#pragma once
// Several Qt Test classes share one executable per source folder: each tst_*.cpp registers its
// classes here, and the shared main runs them all (or those named in KESTRIN_TEST_ONLY).
#include <QObject>
#include <functional>
#include <vector>

namespace kestrin::test {

struct TestRegistry {
    using Factory = std::function<QObject *()>;
    static auto &all() { static std::vector<std::pair<const char *, Factory>> registry; return registry; }
    static int add(const char *name, Factory factory) { return all().emplace_back(name, std::move(factory)), int(all().size()); }
};

} // namespace kestrin::test

#define KESTRIN_REGISTER_TEST(Class) \
    static const int kestrinRegistered_##Class = \
        ::kestrin::test::TestRegistry::add(#Class, [] { return static_cast<QObject *>(new Class); })

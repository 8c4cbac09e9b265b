#include "TestMain.h"

#include <memory>
#include <vector>

namespace {

struct Registered
{
    const char *name;
    TestFactory factory;
};

std::vector<Registered> &registry()
{
    static std::vector<Registered> classes;
    return classes;
}

} // namespace

int registerTestClass(const char *name, TestFactory factory)
{
    registry().push_back({name, factory});
    return int(registry().size());
}

int runRegisteredTests(int argc, char **argv)
{
    QString only;
    std::vector<char *> args;
    for (int i = 0; i < argc; ++i) {
        if (QByteArray(argv[i]) == "-class" && i + 1 < argc) {
            only = QString::fromLocal8Bit(argv[++i]);
            continue;
        }
        args.push_back(argv[i]);
    }
    int failures = 0;
    for (const Registered &r : registry()) {
        if (!only.isEmpty() && only != QLatin1String(r.name))
            continue;
        std::unique_ptr<QObject> test(r.factory());
        failures += QTest::qExec(test.get(), int(args.size()), args.data());
    }
    return failures == 0 ? 0 : 1;
}

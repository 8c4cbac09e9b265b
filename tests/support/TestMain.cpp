#include "TestMain.h"

int runTestClasses(int argc, char **argv, std::initializer_list<QObject *> classes)
{
    int failures = 0;
    for (QObject *object : classes) {
        failures += QTest::qExec(object, argc, argv);
        delete object;
    }
    return failures == 0 ? 0 : 1;
}

#pragma once

#include <QObject>
#include <QTest>

// One test binary per folder: each test class registers itself with
// LUMORA_TEST_CLASS(Class) after its definition, and the folder's main runs
// them all with runRegisteredTests. An argument "-class Name" runs one class;
// the other arguments go to QTest as usual. A class must not QSKIP in
// initTestCase(): QtTest then skips the classes run after it as well; skip in
// init() instead (as LUMORA_INIT_BACKEND does).
using TestFactory = QObject *(*)();
int registerTestClass(const char *name, TestFactory factory);
int runRegisteredTests(int argc, char **argv);

#define LUMORA_TEST_CLASS(Class)                                                                   \
    static const int Class##Registration = registerTestClass(#Class, []() -> QObject * { return new Class; });

// The main of a test folder; `Application` is QCoreApplication or QApplication.
#define LUMORA_TEST_MAIN(Application)                                                              \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        Application app(argc, argv);                                                               \
        return runRegisteredTests(argc, argv);                                                     \
    }

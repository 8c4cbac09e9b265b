#include "TestMain.h"

QObject *newDataLinkTest();
QObject *newValuesTest();
QObject *newSchemaTest();
QObject *newDatasetTest();
QObject *newDataModuleTest();

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    return runTestClasses(argc, argv,
                          {newDataLinkTest(), newValuesTest(), newSchemaTest(), newDatasetTest(),
                           newDataModuleTest()});
}

#include "TestMain.h"

#include <QCoreApplication>

LUMORA_TEST_MAIN(QCoreApplication)

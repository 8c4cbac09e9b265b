#include "TestMain.h"

#include <QApplication>

LUMORA_TEST_MAIN(QApplication)

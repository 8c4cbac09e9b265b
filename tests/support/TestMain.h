#pragma once

#include <QObject>
#include <QTest>

#include <initializer_list>
#include <memory>

// One test binary per folder runs all the folder's test classes.
int runTestClasses(int argc, char **argv, std::initializer_list<QObject *> classes);

#pragma once

#include <QString>
#include <QStringList>

// CRM_TEST_BACKENDS ("sqlite", "postgres" or both, comma separated) chooses
// which of the test classes run; without it, all of them. A class that is not
// chosen skips its tests in init(): a QSKIP in initTestCase() would leave
// QtTest 6.4 skipping every class run after it in the same process.
inline bool backendSelected(const QString &backend)
{
    const QStringList wanted =
        qEnvironmentVariable("CRM_TEST_BACKENDS").split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (wanted.isEmpty())
        return true;
    for (const QString &name : wanted) {
        if (name.trimmed() == backend)
            return true;
    }
    return false;
}

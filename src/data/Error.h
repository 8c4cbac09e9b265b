#pragma once

#include <QString>

#include <exception>

namespace data {

// An error the user may see: its text goes into a message box as it stands.
class Error : public std::exception
{
public:
    explicit Error(QString message);

    const QString &message() const { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// Thrown to end a command silently after its failure was already reported
// (a save error the user has seen, for instance). The command guard swallows it.
class Abort : public std::exception
{
public:
    const char *what() const noexcept override { return "operation aborted"; }
};

} // namespace data

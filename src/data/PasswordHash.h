#pragma once

#include <QString>

namespace data {

// Passwords are kept as Argon2id hash strings, never as typed. An empty
// password stays empty, so that a user without a password logs in with an
// empty box.
QString hashPassword(const QString &password);

// True for a value written by hashPassword (anything else is an old clear password).
bool isPasswordHash(const QString &stored);

// Whether `typed` is the password that `stored` keeps: a hash is verified, an
// empty stored value matches only an empty box, and an old clear password is
// compared exactly (letter case counts).
bool verifyPassword(const QString &typed, const QString &stored);

} // namespace data

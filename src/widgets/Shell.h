#pragma once

#include <QString>

// Opens a web page, a mail link or a document with the program the desktop
// associates with it. Behind a seam so that tests can record what was opened.
class Shell
{
public:
    virtual ~Shell() = default;
    // `target` is a URL ("http://…", "mailto:…") or a file path; false when
    // nothing could open it.
    virtual bool open(const QString &target) = 0;

    static Shell &current();
    // Does not take ownership; nullptr restores the desktop's.
    static void install(Shell *shell);
};

inline bool shellOpen(const QString &target)
{
    return Shell::current().open(target);
}

#pragma once

class QDialog;

// Showing a dialog modally, behind a seam: the program calls showModal()
// where it would call exec(), and tests script what happens while the dialog
// is open (see ScriptedModals in the test support).
class Modal
{
public:
    virtual ~Modal() = default;
    // Shows the dialog modally and returns its result (QDialog::Accepted or Rejected).
    virtual int run(QDialog *dialog) = 0;

    static Modal &current();
    // Does not take ownership; nullptr restores exec().
    static void install(Modal *modal);
};

inline int showModal(QDialog *dialog)
{
    return Modal::current().run(dialog);
}

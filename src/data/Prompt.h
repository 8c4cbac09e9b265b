#pragma once

#include <QFlags>
#include <QString>

// Every message box of the program goes through the Prompt seam, so that tests
// can answer the boxes and check exactly which ones appeared. The interface is
// widget-free because the data module shows boxes of its own; the QMessageBox
// implementation lives with the widgets.

enum class MessageIcon { None, Information, Warning, Error, Question };

enum class MessageButton { NoButton = 0x0, Ok = 0x1, Cancel = 0x2, Yes = 0x4, No = 0x8 };
Q_DECLARE_FLAGS(MessageButtons, MessageButton)
Q_DECLARE_OPERATORS_FOR_FLAGS(MessageButtons)

struct Message
{
    QString caption;
    QString text;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButton::Ok;
    MessageButton defaultButton = MessageButton::NoButton;
    bool stayOnTop = false;

    bool operator==(const Message &) const = default;
};

class Prompt
{
public:
    virtual ~Prompt() = default;
    // Shows the box and returns the button that closed it.
    virtual MessageButton show(const Message &message) = 0;

    // The installed prompt; without one, boxes go to standard error and are
    // answered with their default button.
    static Prompt &current();
    // Does not take ownership; nullptr restores the fallback.
    static void install(Prompt *prompt);
};

MessageButton showMessage(const Message &message);
MessageButton showMessage(const QString &caption, const QString &text, MessageIcon icon,
                          MessageButtons buttons = MessageButton::Ok,
                          MessageButton defaultButton = MessageButton::NoButton);

// The window title and application title.
QString applicationTitle();

// The box for an error no handler catches: the application title as caption,
// the error's text, an error icon and OK.
void showStandardError(const QString &text);

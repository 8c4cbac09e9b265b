#include "MessageBoxPrompt.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QMessageBox::Icon iconOf(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton standardButton(MessageButton button)
{
    switch (button) {
    case MessageButton::Ok:
        return QMessageBox::Ok;
    case MessageButton::Cancel:
        return QMessageBox::Cancel;
    case MessageButton::Yes:
        return QMessageBox::Yes;
    case MessageButton::No:
        return QMessageBox::No;
    case MessageButton::NoButton:
        break;
    }
    return QMessageBox::NoButton;
}

} // namespace

MessageButton MessageBoxPrompt::show(const Message &message)
{
    // Texts carry Windows line breaks (CR LF, or CR alone); the box wants LF.
    QString text = message.text;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));

    QMessageBox box(iconOf(message.icon), message.caption, text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    const QList<MessageButton> order = {MessageButton::Ok, MessageButton::Yes, MessageButton::No,
                                        MessageButton::Cancel};
    for (MessageButton b : order) {
        if (message.buttons.testFlag(b))
            box.addButton(standardButton(b));
    }
    if (message.defaultButton != MessageButton::NoButton)
        box.setDefaultButton(standardButton(message.defaultButton));
    if (message.stayOnTop)
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return MessageButton::Ok;
    case QMessageBox::Yes:
        return MessageButton::Yes;
    case QMessageBox::No:
        return MessageButton::No;
    default:
        return message.buttons.testFlag(MessageButton::Cancel) ? MessageButton::Cancel
                                                               : MessageButton::No;
    }
}

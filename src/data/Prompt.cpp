#include "Prompt.h"

#include <cstdio>

namespace {

class StandardErrorPrompt final : public Prompt
{
public:
    MessageButton show(const Message &message) override
    {
        std::fprintf(stderr, "[%s] %s\n", message.caption.toLocal8Bit().constData(),
                     message.text.toLocal8Bit().constData());
        if (message.defaultButton != MessageButton::NoButton)
            return message.defaultButton;
        for (MessageButton b : {MessageButton::Ok, MessageButton::Yes, MessageButton::Cancel,
                                MessageButton::No}) {
            if (message.buttons.testFlag(b))
                return b;
        }
        return MessageButton::Ok;
    }
};

Prompt *installedPrompt = nullptr;

} // namespace

Prompt &Prompt::current()
{
    static StandardErrorPrompt fallback;
    return installedPrompt ? *installedPrompt : fallback;
}

void Prompt::install(Prompt *prompt)
{
    installedPrompt = prompt;
}

MessageButton showMessage(const Message &message)
{
    return Prompt::current().show(message);
}

MessageButton showMessage(const QString &caption, const QString &text, MessageIcon icon,
                          MessageButtons buttons, MessageButton defaultButton)
{
    Message message;
    message.caption = caption;
    message.text = text;
    message.icon = icon;
    message.buttons = buttons;
    message.defaultButton = defaultButton;
    return showMessage(message);
}

QString applicationTitle()
{
    return QStringLiteral("Lumora客户关系管理系统(免费)");
}

void showStandardError(const QString &text)
{
    showMessage(applicationTitle(), text, MessageIcon::Error);
}

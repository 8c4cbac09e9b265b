#include "ScriptedPrompt.h"

#include <QTest>

ScriptedPrompt::ScriptedPrompt()
{
    Prompt::install(this);
}

ScriptedPrompt::~ScriptedPrompt()
{
    Prompt::install(nullptr);
}

MessageButton ScriptedPrompt::show(const Message &message)
{
    m_shown.append(message);
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    if (message.defaultButton != MessageButton::NoButton)
        return message.defaultButton;
    return message.buttons.testFlag(MessageButton::Ok) ? MessageButton::Ok : MessageButton::Yes;
}

char *toString(const Message &message)
{
    const QString text = QStringLiteral("[%1] %2 (icon %3, buttons %4)")
                             .arg(message.caption, message.text)
                             .arg(int(message.icon))
                             .arg(int(message.buttons.toInt()));
    return QTest::toString(text);
}

#pragma once

#include "Prompt.h"

#include <QList>

// The Prompt seam for tests: records every box and answers from a queue
// (the box's default button, or OK, when the queue is empty). Installs itself
// for its lifetime.
class ScriptedPrompt final : public Prompt
{
public:
    ScriptedPrompt();
    ~ScriptedPrompt() override;

    void answer(MessageButton button) { m_answers.append(button); }
    MessageButton show(const Message &message) override;

    const QList<Message> &shown() const { return m_shown; }
    int count() const { return int(m_shown.size()); }
    void clear() { m_shown.clear(); }

private:
    QList<Message> m_shown;
    QList<MessageButton> m_answers;
};

char *toString(const Message &message);

#pragma once

#include "Prompt.h"

// The Prompt seam on real message boxes, parented to the active window.
class MessageBoxPrompt final : public Prompt
{
public:
    MessageButton show(const Message &message) override;
};

#pragma once

#include <functional>

// Runs the body of a command. data::Abort ends it silently (its failure was
// reported already); any other error is shown in the standard error box.
// No exception leaves it, so it is safe inside Qt's slots and event handlers.
void guarded(const std::function<void()> &body);

#pragma once

#include <QIcon>

// The small glyphs of the navigator's buttons and of the date box's drop-down
// button, drawn here so that they look alike on every style and platform.
enum class ArrowGlyph { First, Prior, Next, Last, Down };

QIcon arrowIcon(ArrowGlyph glyph);

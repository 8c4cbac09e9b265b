#pragma once

#include <QString>

// The program asks for 宋体 and 华文新魏 by name; where they are not
// installed, Qt is told to use free faces instead: AR PL UMing first, a Ming
// (song) face whose PDF text reads back as the characters printed, then Noto CJK.
void installFontSubstitutions();

// `family` when it is installed, otherwise the first installed face of its
// substitutes (as installFontSubstitutions sets them), otherwise `family`.
QString availableFontFamily(const QString &family);

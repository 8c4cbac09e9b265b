#pragma once

// The program asks for 宋体 and 华文新魏 by name; where they are not
// installed, Qt is told to use the Noto CJK faces instead.
void installFontSubstitutions();

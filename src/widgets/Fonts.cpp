#include "Fonts.h"

#include <QFont>
#include <QStringList>

void installFontSubstitutions()
{
    QFont::insertSubstitutions(QStringLiteral("宋体"),
                               {QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
                                QStringLiteral("Noto Sans CJK SC")});
    QFont::insertSubstitutions(QStringLiteral("华文新魏"),
                               {QStringLiteral("STXinwei"), QStringLiteral("Noto Serif CJK SC"),
                                QStringLiteral("Noto Sans CJK SC")});
}

#include "Fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace {

QStringList fallbacks()
{
    // Noto CJK shares its glyphs with the Kangxi radicals, so PDF readers
    // take 户 for ⼾ in text set in it; AR PL UMing does not.
    return {QStringLiteral("AR PL UMing CN"), QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC")};
}

} // namespace

void installFontSubstitutions()
{
    QFont::insertSubstitutions(QStringLiteral("宋体"), QStringList{QStringLiteral("SimSun")} + fallbacks());
    QFont::insertSubstitutions(QStringLiteral("华文新魏"), QStringList{QStringLiteral("STXinwei")} + fallbacks());
}

QString availableFontFamily(const QString &family)
{
    if (QFontDatabase::hasFamily(family))
        return family;
    QStringList candidates = QFont::substitutes(family);
    if (candidates.isEmpty())
        candidates = fallbacks();
    for (const QString &candidate : candidates)
        if (QFontDatabase::hasFamily(candidate))
            return candidate;
    return family;
}

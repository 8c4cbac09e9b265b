#include "TransformData.h"

#include "DM.h"
#include "Schema.h"

QString TransformData(const QString &table, const QString &caption)
{
    try {
        data::Dataset *transforms = DM1->TransformTable;
        transforms->setFiltered(false);
        transforms->setFilter({{QStringLiteral("Tables"), table}, {QStringLiteral("TransformFields"), caption}});
        transforms->setFiltered(true);
        transforms->first();
        if (transforms->isEmpty())
            return QString();
        const QString column = transforms->fieldByName(QStringLiteral("Fields")).asString();
        const data::Table *t = data::Schema::table(table);
        const data::Column *c = t ? t->column(column) : nullptr;
        return c ? c->name : QString();
    } catch (const std::exception &) {
        return QString(); // a caption that cannot be translated finds nothing
    }
}

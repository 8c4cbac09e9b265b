#include "DBTimeEdit.h"

#include <QRegularExpressionValidator>

DBTimeEdit::DBTimeEdit(data::DataSource *source, const QString &fieldName, QWidget *parent)
    : DBEdit(source, fieldName, parent)
{
    // Also lets half-typed times through ("1", "14:"); the field decides
    // whether the whole is a time when the box is left.
    setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("^\\d{0,2}(:\\d{0,2})?$")), this));
    setDisplayFormat(QStringLiteral("HH:mm"));
}

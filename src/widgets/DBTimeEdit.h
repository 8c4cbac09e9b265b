#pragma once

#include "DBEdit.h"

// A time box showing hours and minutes (HH:mm) that may be empty. Only digits
// and the colon can be typed; an emptied box stores NULL.
class DBTimeEdit : public DBEdit
{
    Q_OBJECT
public:
    DBTimeEdit(data::DataSource *source, const QString &fieldName, QWidget *parent = nullptr);
};

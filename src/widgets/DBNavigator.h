#pragma once

#include "Dataset.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class QToolButton;

// Moves the current row of a data source's dataset: first, previous, next and
// last, with the hints "第一条记录", "前一条记录", "下一条记录", "最后一条记录".
// A button is enabled only when its move leads somewhere. Moving posts a
// changed row first (the dataset does); when that post fails, its error is
// shown and the row stays where it is. The buttons take no focus, so the
// text a bound box holds is written before the move.
class DBNavigator : public QWidget
{
    Q_OBJECT
public:
    enum class Button { First, Prior, Next, Last };

    explicit DBNavigator(data::DataSource *source, QWidget *parent = nullptr);

    data::DataSource *dataSource() const { return m_source; }
    void setDataSource(data::DataSource *source);
    QToolButton *button(Button which) const;

    // What a click of the button does.
    void move(Button which);

private:
    void attach();
    void updateButtons();

    QPointer<data::DataSource> m_source;
    QPointer<data::Dataset> m_dataset;
    QList<QMetaObject::Connection> m_datasetConnections;
    QList<QToolButton *> m_buttons; // in the order of Button
};

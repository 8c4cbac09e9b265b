#pragma once

#include <QFrame>

class QLabel;
class QPushButton;

// The bar under a filtered DataGrid: the filter in words, and a button that removes it.
class FilterBar : public QFrame
{
    Q_OBJECT
public:
    explicit FilterBar(QWidget *parent = nullptr);

    void setDescription(const QString &description);
    QString text() const;
    QPushButton *removeButton() const { return m_remove; }

signals:
    void removeRequested();

private:
    QLabel *m_text;
    QPushButton *m_remove;
};

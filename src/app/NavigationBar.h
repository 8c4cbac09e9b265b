#pragma once

#include <QScrollArea>

class QAction;
class QPushButton;
class QVBoxLayout;

// One group of the navigation bar: a header that opens and closes it, and
// entries below — command buttons that follow their command (text, icon,
// enabled, visible), or plain entries with a caption and a tag (the agenda).
class NavigationGroup : public QWidget
{
    Q_OBJECT
public:
    NavigationGroup(const QString &caption, bool open, bool highlighted, QWidget *parent = nullptr);

    QString caption() const;
    bool isOpen() const { return m_open; }
    void setOpen(bool open);

    void addCommand(QAction *command);
    // A plain entry: no handler when `tag` is 0 (a header line).
    QPushButton *addEntry(const QString &caption, int tag);
    void clearEntries();
    QList<QPushButton *> entries() const { return m_entries; }

signals:
    void entryClicked(QPushButton *entry);

private:
    QPushButton *newButton();

    QPushButton *m_header;
    QWidget *m_body;
    QVBoxLayout *m_bodyLayout;
    QString m_caption;
    QList<QPushButton *> m_entries;
    bool m_open = false;
};

// The bar of groups on the left of the main window.
class NavigationBar : public QScrollArea
{
    Q_OBJECT
public:
    explicit NavigationBar(QWidget *parent = nullptr);

    NavigationGroup *addGroup(const QString &caption, bool open, bool highlighted = false);
    NavigationGroup *group(const QString &caption) const;
    QList<NavigationGroup *> groups() const { return m_groups; }

private:
    QVBoxLayout *m_layout;
    QList<NavigationGroup *> m_groups;
};

#pragma once

#include <QSplitter>

// A splitter whose one handle is a 7-pixel size bar: dragged, it resizes the
// panel at its left; a click on its hot spot collapses the panel to the bar
// and, clicked again, restores the width it had.
class SizeBarSplitter : public QSplitter
{
    Q_OBJECT
public:
    explicit SizeBarSplitter(QWidget *parent = nullptr);

    bool isCollapsed() const;
    void setCollapsed(bool collapsed);
    void toggle() { setCollapsed(!isCollapsed()); }
    int panelWidth() const;

protected:
    QSplitterHandle *createHandle() override;

private:
    int m_restoreWidth = 192;
};

#pragma once

#include <QObject>
#include <QPointer>

class QWidget;
class ReportPreview;

// The main window's printing: prepares the report of a number and shows it
// in the one preview window, which the next report replaces.
class ReportPrinter : public QObject
{
    Q_OBJECT
public:
    explicit ReportPrinter(QWidget *owner);
    ~ReportPrinter() override;

    // With no record to print, the "没有可打印的报表数据！" box; any other
    // failure shows nothing and leaves one line on standard error.
    void PrintReport(int number);

    // The preview of the last report, while it is open.
    ReportPreview *preview() const;

private:
    QWidget *m_owner;
    QPointer<ReportPreview> m_preview;
};

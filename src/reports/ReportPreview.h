#pragma once

#include "PreparedReport.h"
#include "ReportContent.h"

#include <QDate>
#include <QMainWindow>

#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QPrinter;
class QPrintPreviewWidget;

// The preview of one prepared report, a window of its own beside the main
// window: zoom, load (a report file saved earlier; a PDF goes to the desktop's
// reader), save (as PDF or as a report file), print, find, page setup, export
// to a spreadsheet and exit. A change of page setup lays the pages out again.
class ReportPreview : public QMainWindow
{
    Q_OBJECT
public:
    ReportPreview(ReportContent content, const QDate &printDate, QWidget *parent = nullptr);
    ~ReportPreview() override;

    const ReportContent &content() const { return m_content; }
    const PreparedReport &report() const { return m_report; }
    QPrinter *printer() const { return m_printer.get(); }
    QPrintPreviewWidget *view() const { return m_view; }
    // The page shown, from 0.
    int currentPage() const;

    QAction *zoomInAction, *zoomOutAction, *fitAction, *loadAction, *saveAction, *printAction,
        *findAction, *pageSetupAction, *spreadsheetAction, *exitAction;
    QLineEdit *findText;
    QLabel *pageLabel; // "第 1 页，共 3 页"

    // The commands behind the tool bar.
    void load();
    void save();
    void print();
    void find();
    void pageSetup();
    void saveToSpreadsheet();

private:
    void paintPages(QPrinter *printer);
    void showPageNumber();
    void goToPage(int page);
    void layOutFor(const QPageLayout &layout);
    QString suggestedPath(const QString &suffix) const;

    ReportContent m_content;
    QDate m_printDate;
    std::unique_ptr<QPrinter> m_printer;
    PreparedReport m_report;
    QPrintPreviewWidget *m_view;
    QString m_highlight;
};

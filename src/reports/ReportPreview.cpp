#include "ReportPreview.h"

#include "Error.h"
#include "FileChooser.h"
#include "Guard.h"
#include "Modal.h"
#include "Prompt.h"
#include "ReportExport.h"
#include "ReportFile.h"
#include "Shell.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QStandardPaths>
#include <QToolBar>

namespace {

QString withSuffix(QString path, const QString &suffix)
{
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + suffix;
    return path;
}

} // namespace

ReportPreview::ReportPreview(ReportContent content, const QDate &printDate, QWidget *parent)
    : QMainWindow(parent, Qt::Window)
    , m_content(std::move(content))
    , m_printDate(printDate)
    , m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
    , m_report(m_content, PreparedReport::defaultPageLayout(), printDate)
{
    setObjectName(QStringLiteral("ReportPreview"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(applicationTitle());
    m_printer->setPageLayout(PreparedReport::defaultPageLayout());
    m_printer->setDocName(m_content.layout.title);

    m_view = new QPrintPreviewWidget(m_printer.get(), this);
    m_view->setObjectName(QStringLiteral("previewView"));
    connect(m_view, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter *p) { paintPages(p); });
    setCentralWidget(m_view);

    auto *tools = addToolBar(QStringLiteral("预览"));
    tools->setObjectName(QStringLiteral("previewTools"));
    tools->setMovable(false);
    const auto command = [this, tools](const QString &text, const QString &hint, auto handler) {
        QAction *a = tools->addAction(text);
        a->setToolTip(hint);
        a->setStatusTip(hint);
        connect(a, &QAction::triggered, this, [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
        return a;
    };
    zoomInAction = tools->addAction(QStringLiteral("放大"));
    connect(zoomInAction, &QAction::triggered, m_view, [this] { m_view->zoomIn(); });
    zoomOutAction = tools->addAction(QStringLiteral("缩小"));
    connect(zoomOutAction, &QAction::triggered, m_view, [this] { m_view->zoomOut(); });
    fitAction = tools->addAction(QStringLiteral("整页"));
    connect(fitAction, &QAction::triggered, m_view, &QPrintPreviewWidget::fitInView);
    tools->addSeparator();
    loadAction = command(QStringLiteral("载入"), QStringLiteral("载入以前保存的报表文件"), &ReportPreview::load);
    saveAction = command(QStringLiteral("保存"), QStringLiteral("将报表保存为PDF文件或报表文件"), &ReportPreview::save);
    printAction = command(QStringLiteral("打印"), QStringLiteral("打印报表"), &ReportPreview::print);
    tools->addSeparator();
    findText = new QLineEdit(tools);
    findText->setObjectName(QStringLiteral("findText"));
    findText->setPlaceholderText(QStringLiteral("查找内容"));
    findText->setMaximumWidth(160);
    tools->addWidget(findText);
    findAction = command(QStringLiteral("查找"), QStringLiteral("查找报表中的文字"), &ReportPreview::find);
    connect(findText, &QLineEdit::returnPressed, findAction, &QAction::trigger);
    tools->addSeparator();
    pageSetupAction = command(QStringLiteral("页面设置"), QStringLiteral("纸张、方向和页边距"), &ReportPreview::pageSetup);
    spreadsheetAction =
        command(QStringLiteral("导出Excel"), QStringLiteral("将报表导出到Excel中"), &ReportPreview::saveToSpreadsheet);
    tools->addSeparator();
    exitAction = tools->addAction(QStringLiteral("退出"));
    connect(exitAction, &QAction::triggered, this, &QWidget::close);
    tools->addSeparator();
    pageLabel = new QLabel(tools);
    pageLabel->setObjectName(QStringLiteral("pageLabel"));
    pageLabel->setContentsMargins(8, 0, 8, 0);
    tools->addWidget(pageLabel);
    connect(m_view, &QPrintPreviewWidget::previewChanged, this, &ReportPreview::showPageNumber);

    resize(820, 640);
}

ReportPreview::~ReportPreview()
{
    // The view paints on the printer: it goes first.
    delete m_view;
}

void ReportPreview::showPageNumber()
{
    pageLabel->setText(QStringLiteral("第 %1 页，共 %2 页").arg(m_view->currentPage()).arg(m_view->pageCount()));
}

void ReportPreview::goToPage(int page)
{
    m_view->setCurrentPage(page + 1);
    showPageNumber();
}

int ReportPreview::currentPage() const
{
    return m_view->currentPage() - 1;
}

void ReportPreview::layOutFor(const QPageLayout &layout)
{
    if (!layout.isEquivalentTo(m_report.pageLayout()))
        m_report = PreparedReport(m_content, layout, m_printDate);
}

void ReportPreview::paintPages(QPrinter *printer)
{
    layOutFor(printer->pageLayout());
    QPainter painter(printer);
    for (int i = 0; i < m_report.pageCount(); ++i) {
        if (i > 0)
            printer->newPage();
        m_report.paintPage(painter, i, m_highlight);
    }
}

QString ReportPreview::suggestedPath(const QString &suffix) const
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(folder).filePath(m_content.layout.title + QLatin1Char('.') + suffix);
}

void ReportPreview::load()
{
    const QString path = chooseOpenFile(this, QStringLiteral("载入报表"),
                                        QStringLiteral("报表文件 (*.lrp);;PDF 文件 (*.pdf)"));
    if (path.isEmpty())
        return;
    if (!isReportFilePath(path)) {
        // A PDF is shown by the desktop's reader; only our own files come back into the preview.
        if (!shellOpen(path))
            showMessage(QStringLiteral("错误"), QStringLiteral("无法打开文件“%1”。").arg(path), MessageIcon::Warning);
        return;
    }
    SavedReport saved = loadReportFile(path);
    m_content = std::move(saved.content);
    m_printDate = saved.printDate;
    m_printer->setDocName(m_content.layout.title);
    m_report = PreparedReport(m_content, m_printer->pageLayout(), m_printDate);
    m_highlight.clear();
    m_view->updatePreview();
    goToPage(0);
}

void ReportPreview::save()
{
    const QString chosen = chooseSaveFile(this, QStringLiteral("保存报表"), suggestedPath(QStringLiteral("pdf")),
                                          QStringLiteral("PDF 文件 (*.pdf);;报表文件 (*.lrp)"));
    if (chosen.isEmpty())
        return;
    if (isReportFilePath(chosen))
        saveReportFile(m_content, m_printDate, chosen);
    else
        writeReportPdf(m_report, withSuffix(chosen, QStringLiteral("pdf")));
}

void ReportPreview::print()
{
    QPrintDialog dialog(m_printer.get(), this);
    dialog.setObjectName(QStringLiteral("printDialog"));
    if (showModal(&dialog) != QDialog::Accepted)
        return;
    layOutFor(m_printer->pageLayout());
    if (!m_report.print(m_printer.get()))
        throw data::Error(QStringLiteral("无法打印报表。"));
}

void ReportPreview::find()
{
    const QString text = findText->text().trimmed();
    if (text.isEmpty())
        return;
    // Finding the same text again goes on to the next page that holds it.
    const int from = text == m_highlight ? currentPage() + 1 : currentPage();
    const int page = m_report.findPage(text, from);
    if (page < 0) {
        m_highlight.clear();
        m_view->updatePreview();
        showMessage(QStringLiteral("提示"), QStringLiteral("未找到“%1”。").arg(text), MessageIcon::Information);
        return;
    }
    m_highlight = text;
    m_view->updatePreview();
    goToPage(page);
}

void ReportPreview::pageSetup()
{
    QPageSetupDialog dialog(m_printer.get(), this);
    dialog.setObjectName(QStringLiteral("pageSetupDialog"));
    if (showModal(&dialog) != QDialog::Accepted)
        return;
    layOutFor(m_printer->pageLayout());
    m_view->updatePreview();
}

void ReportPreview::saveToSpreadsheet()
{
    const QString chosen =
        chooseSaveFile(this, QStringLiteral("导出到Excel"), suggestedPath(QStringLiteral("xlsx")),
                       QStringLiteral("Excel 工作簿 (*.xlsx);;CSV 文件 (*.csv)"));
    if (chosen.isEmpty())
        return;
    const QString path = withSuffix(chosen, QStringLiteral("xlsx"));
    writeReportSpreadsheet(m_content, path);
    shellOpen(path);
}

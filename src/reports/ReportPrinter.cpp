#include "ReportPrinter.h"

#include "Clock.h"
#include "Error.h"
#include "Prompt.h"
#include "ReportData.h"
#include "ReportPreview.h"

#include <QDebug>
#include <QWidget>

ReportPrinter::ReportPrinter(QWidget *owner)
    : QObject(owner)
    , m_owner(owner)
{
}

ReportPrinter::~ReportPrinter()
{
    delete m_preview;
}

void ReportPrinter::PrintReport(int number)
{
    // The preview holds one report at a time.
    delete m_preview;
    try {
        std::optional<ReportContent> content = captureNumberedReport(number);
        if (!content) {
            showMessage(QStringLiteral("错误"), QStringLiteral("没有可打印的报表数据！"), MessageIcon::Warning);
            return;
        }
        m_preview = new ReportPreview(std::move(*content), currentDate(), m_owner);
        m_preview->show();
    } catch (const data::Abort &) {
        qWarning().noquote() << QStringLiteral("报表 %1 未能打印：操作已中止").arg(number);
    } catch (const data::Error &e) {
        qWarning().noquote() << QStringLiteral("报表 %1 未能打印：%2").arg(number).arg(e.message());
    } catch (const std::exception &e) {
        qWarning().noquote() << QStringLiteral("报表 %1 未能打印：%2").arg(number).arg(QString::fromUtf8(e.what()));
    }
}

ReportPreview *ReportPrinter::preview() const
{
    return m_preview;
}

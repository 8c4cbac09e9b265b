#include "TableExportCommand.h"

#include "DM.h"
#include "FileChooser.h"
#include "Shell.h"
#include "TableExport.h"

#include <QDir>
#include <QFileInfo>

void runTableExport(int tag, QWidget *parent)
{
    const TableExport *tableExport = TableExport::ofTag(tag);
    if (!tableExport)
        return;
    QString path = chooseSaveFile(parent, QStringLiteral("导出") + tableExport->title,
                                  QDir::current().absoluteFilePath(tableExport->title + QStringLiteral(".xlsx")),
                                  QStringLiteral("Excel 工作簿 (*.xlsx);;CSV 文件 (*.csv)"));
    if (path.isEmpty())
        return;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("xlsx") && suffix != QLatin1String("csv"))
        path += QStringLiteral(".xlsx");
    tableExport->write(*DM1->ADOConnection1, path);
    shellOpen(path);
}

#include "PlaceholderWindow.h"

#include "DM.h"
#include "Prompt.h"

#include <QLabel>

PlaceholderWindow::PlaceholderWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_summary(new QLabel(this))
{
    setWindowTitle(applicationTitle());
    resize(746, 494);
    m_summary->setAlignment(Qt::AlignCenter);
    setCentralWidget(m_summary);
}

void PlaceholderWindow::useFileDatabaseCommands()
{
    m_fileDatabase = true;
}

void PlaceholderWindow::showDatabaseSummary()
{
    if (!DM1 || !DM1->ADODataSet1->isActive()) {
        m_summary->setText(QStringLiteral("未能连接数据库。"));
        return;
    }
    m_summary->setText(QStringLiteral("%1数据库已连接：%2 个客户，%3 条联系人记录。")
                           .arg(m_fileDatabase ? QStringLiteral("文件") : QStringLiteral("服务器"))
                           .arg(DM1->ADODataSet1->recordCount())
                           .arg(DM1->LinkManList->recordCount()));
}

#pragma once

#include <QDateTime>
#include <QString>

#include <array>

// The six rights, named after the Boolean columns of 用户.
enum class Right { PowerManage, ChangePassword, PrintReport, ExportData, BackupRestore, ViewLog };
inline constexpr std::array<Right, 6> allRights = {Right::PowerManage, Right::ChangePassword,
                                                   Right::PrintReport, Right::ExportData,
                                                   Right::BackupRestore, Right::ViewLog};
// "权限管理", "修改密码", "打印报表", "导出数据", "备份还原", "查看日志".
QString rightColumn(Right right);

// The state of the current login, one for the whole process.
struct LoginSessionState
{
    QString userName;
    QDateTime loginTime;
    int logRowNumber = 0; // the Degree of this login's Log row
    bool loggedIn = false;
    std::array<bool, 6> rights{};

    bool hasRight(Right right) const { return rights[size_t(right)]; }
    void setRight(Right right, bool value) { rights[size_t(right)] = value; }
};

extern LoginSessionState LoginSession;

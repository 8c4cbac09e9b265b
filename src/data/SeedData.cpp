#include "SeedData.h"

#include <QStringList>

namespace data {

const QList<TransformRow> &transformRows()
{
    static const QList<TransformRow> rows = {
        {"ClientData", "客户代码", "ID"},
        {"ClientData", "公司名称", "CoName"},
        {"ClientData", "客户等级", "ClientTier"},
        {"ClientData", "客户类型", "ClientTypes"},
        {"ClientData", "所属区域", "Area"},
        {"ClientData", "地区", "Region"},
        {"ClientData", "联系地址", "Address"},
        {"ClientData", "邮编", "Postalcode"},
        {"ClientData", "联系电话", "TEL"},
        {"ClientData", "传真", "FAX"},
        {"ClientData", "电子邮件", "EMail"},
        {"ClientData", "主页", "WEBs"},
        {"ClientData", "公司概况", "Remark"},

        {"ClientVisit", "日期", "Dates"},
        {"ClientVisit", "时间", "Times"},
        {"ClientVisit", "主题", "Motif"},
        {"ClientVisit", "客户名称", "ClientName"},
        {"ClientVisit", "联系方式", "RelationMode"},
        {"ClientVisit", "我方人员", "Personnel"},
        {"ClientVisit", "负责人", "Principal"},
        {"ClientVisit", "主要内容", "Remark"},

        {"ClientBespeak", "日期", "Dates"},
        {"ClientBespeak", "时间", "Times"},
        {"ClientBespeak", "客户名称", "ClientName"},
        {"ClientBespeak", "主题", "Motif"},
        {"ClientBespeak", "联系方式", "RelationMode"},
        {"ClientBespeak", "负责人", "Principal"},
        {"ClientBespeak", "备注", "Remark"},

        {"LinkMan", "联系人", "LinkManID"},
        {"LinkMan", "所属公司", "ClientName"},
        {"LinkMan", "职务", "Duty"},
        {"LinkMan", "部门", "Branch"},
        {"LinkMan", "电子邮件", "Email"},
        {"LinkMan", "办公电话", "OfficeTEL"},
        {"LinkMan", "手机", "MobileTEL"},
        {"LinkMan", "家庭电话", "HomeTEL"},
        {"LinkMan", "家庭住址", "HomeAddress"},
        {"LinkMan", "传真", "FAX"},
        {"LinkMan", "生日", "Birthday"},
        {"LinkMan", "备注", "Remark"},

        {"ProductSell", "订单号", "OrderFormID"},
        {"ProductSell", "客户名称", "ClientName"},
        {"ProductSell", "开单日期", "SellDate"},
        {"ProductSell", "操作员", "Operator"},
        {"ProductSell", "备注", "Remark"},

        {"ProductInfo", "产品代码", "ID"},
        {"ProductInfo", "产品名称", "ProductName"},
        {"ProductInfo", "规格", "Spec"},
        {"ProductInfo", "单位", "Unit"},
        {"ProductInfo", "销售价", "Price"},
        {"ProductInfo", "成本价", "CostPrice"},
        {"ProductInfo", "销量", "SellNumber"},
        {"ProductInfo", "备注", "Remark"},
    };
    return rows;
}

QString administratorType()
{
    return QStringLiteral("系统管理员");
}

const QStringList &rightsColumns()
{
    static const QStringList columns = {"权限管理", "修改密码", "打印报表",
                                        "导出数据", "备份还原", "查看日志"};
    return columns;
}

} // namespace data

#include "SpreadsheetWriter.h"

#include "Error.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QSaveFile>
#include <QTime>

#include <xlsxwriter.h>

class SpreadsheetWriter::Format
{
public:
    virtual ~Format() = default;
    virtual void writeRow(const QVariantList &values) = 0;
    virtual void close() = 0;
};

namespace {

QString booleanText(bool value)
{
    return value ? QStringLiteral("是") : QStringLiteral("否");
}

bool isNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

class CsvFormat final : public SpreadsheetWriter::Format
{
public:
    explicit CsvFormat(const QString &path)
        : m_file(path)
    {
        if (!m_file.open(QIODevice::WriteOnly))
            throw data::Error(QStringLiteral("无法写入文件 %1：%2").arg(path, m_file.errorString()));
        m_file.write("\xEF\xBB\xBF");
    }

    void writeRow(const QVariantList &values) override
    {
        QStringList cells;
        cells.reserve(values.size());
        for (const QVariant &value : values)
            cells << quoted(text(value));
        m_file.write(cells.join(QLatin1Char(',')).toUtf8());
        m_file.write("\r\n");
    }

    void close() override
    {
        if (!m_file.commit())
            throw data::Error(QStringLiteral("无法写入文件 %1：%2").arg(m_file.fileName(), m_file.errorString()));
    }

private:
    static QString text(const QVariant &value)
    {
        if (value.isNull())
            return {};
        switch (value.typeId()) {
        case QMetaType::Bool:
            return booleanText(value.toBool());
        case QMetaType::QDate:
            return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
        case QMetaType::QTime:
            return value.toTime().toString(QStringLiteral("HH:mm:ss"));
        case QMetaType::QDateTime:
            return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        default:
            return value.toString();
        }
    }

    static QString quoted(QString cell)
    {
        if (!cell.contains(QLatin1Char(',')) && !cell.contains(QLatin1Char('"')) && !cell.contains(QLatin1Char('\n'))
            && !cell.contains(QLatin1Char('\r')))
            return cell;
        cell.replace(QLatin1String("\""), QLatin1String("\"\""));
        return QLatin1Char('"') + cell + QLatin1Char('"');
    }

    // Written beside the target and renamed at close: a failed export
    // never leaves half a file under the chosen name.
    QSaveFile m_file;
};

class XlsxFormat final : public SpreadsheetWriter::Format
{
public:
    // The workbook is written beside the target and renamed at close, as the
    // CSV file is.
    XlsxFormat(const QString &path, const QString &sheetName)
        : m_path(path)
        , m_partPath(path + QStringLiteral(".part"))
    {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        const QByteArray file = QFile::encodeName(m_partPath);
        m_workbook = workbook_new_opt(file.constData(), &options);
        if (!m_workbook)
            throw data::Error(QStringLiteral("无法创建文件 %1").arg(path));
        const QByteArray sheet = sheetName.left(31).toUtf8();
        m_sheet = workbook_add_worksheet(m_workbook, sheet.isEmpty() ? nullptr : sheet.constData());
        m_date = workbook_add_format(m_workbook);
        format_set_num_format(m_date, "yyyy-mm-dd");
        m_time = workbook_add_format(m_workbook);
        format_set_num_format(m_time, "hh:mm:ss");
        m_dateTime = workbook_add_format(m_workbook);
        format_set_num_format(m_dateTime, "yyyy-mm-dd hh:mm:ss");
    }

    ~XlsxFormat() override
    {
        if (m_workbook) {
            workbook_close(m_workbook);
            QFile::remove(m_partPath);
        }
    }

    void writeRow(const QVariantList &values) override
    {
        for (int column = 0; column < values.size(); ++column)
            write(lxw_col_t(column), values.at(column));
        ++m_row;
    }

    void close() override
    {
        lxw_workbook *workbook = std::exchange(m_workbook, nullptr);
        const lxw_error error = workbook_close(workbook);
        if (error != LXW_NO_ERROR) {
            QFile::remove(m_partPath);
            throw data::Error(QStringLiteral("无法写入文件 %1：%2").arg(m_path, QString::fromUtf8(lxw_strerror(error))));
        }
        QFile::remove(m_path);
        if (!QFile::rename(m_partPath, m_path)) {
            QFile::remove(m_partPath);
            throw data::Error(QStringLiteral("无法写入文件 %1").arg(m_path));
        }
    }

private:
    void write(lxw_col_t column, const QVariant &value)
    {
        if (value.isNull())
            return;
        lxw_error error = LXW_NO_ERROR;
        switch (value.typeId()) {
        case QMetaType::Bool:
            error = writeText(column, booleanText(value.toBool()));
            break;
        case QMetaType::QDate: {
            const QDate d = value.toDate();
            lxw_datetime when{d.year(), d.month(), d.day(), 0, 0, 0};
            error = worksheet_write_datetime(m_sheet, m_row, column, &when, m_date);
            break;
        }
        case QMetaType::QTime: {
            const QTime t = value.toTime();
            lxw_datetime when{0, 0, 0, t.hour(), t.minute(), double(t.second())};
            error = worksheet_write_datetime(m_sheet, m_row, column, &when, m_time);
            break;
        }
        case QMetaType::QDateTime: {
            const QDateTime dt = value.toDateTime();
            const QDate d = dt.date();
            const QTime t = dt.time();
            lxw_datetime when{d.year(), d.month(), d.day(), t.hour(), t.minute(), double(t.second())};
            error = worksheet_write_datetime(m_sheet, m_row, column, &when, m_dateTime);
            break;
        }
        default:
            if (isNumber(value))
                error = worksheet_write_number(m_sheet, m_row, column, value.toDouble(), nullptr);
            else
                error = writeText(column, value.toString());
        }
        if (error != LXW_NO_ERROR)
            throw data::Error(QStringLiteral("无法写入文件 %1：%2").arg(m_path, QString::fromUtf8(lxw_strerror(error))));
    }

    lxw_error writeText(lxw_col_t column, const QString &text)
    {
        if (text.isEmpty())
            return LXW_NO_ERROR;
        const QByteArray utf8 = text.toUtf8();
        return worksheet_write_string(m_sheet, m_row, column, utf8.constData(), nullptr);
    }

    QString m_path;
    QString m_partPath;
    lxw_workbook *m_workbook = nullptr;
    lxw_worksheet *m_sheet = nullptr;
    lxw_format *m_date = nullptr;
    lxw_format *m_time = nullptr;
    lxw_format *m_dateTime = nullptr;
    lxw_row_t m_row = 0;
};

} // namespace

SpreadsheetWriter::SpreadsheetWriter(const QString &path, const QString &sheetName)
{
    if (isCsvPath(path))
        m_format = std::make_unique<CsvFormat>(path);
    else
        m_format = std::make_unique<XlsxFormat>(path, sheetName);
}

SpreadsheetWriter::~SpreadsheetWriter() = default;

void SpreadsheetWriter::writeRow(const QVariantList &values)
{
    m_format->writeRow(values);
}

void SpreadsheetWriter::close()
{
    m_format->close();
}

bool SpreadsheetWriter::isCsvPath(const QString &path)
{
    return path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive);
}

#pragma once

#include "Connection.h"
#include "Error.h"
#include "Schema.h"

#include <QBitArray>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSqlQuery>
#include <QVariant>

#include <functional>
#include <vector>

namespace data {

class Dataset;

struct DatasetColumn
{
    QString name;
    ColumnType type = ColumnType::Text;
    int length = 0;
    bool inTable = false;    // a column of the base table, written back at post
    bool calculated = false; // computed by the onCalcFields handler, never stored
    QString displayFormat;   // see Dataset::setDisplayFormat
};

struct FilterCondition
{
    QString column;
    QVariant value;
};

enum class DatasetState { Inactive, Browse, Edit, Insert };

// What a post-error handler answers: let the error go on to the caller, end the
// operation silently (the handler has reported it), or try the write again.
enum class PostErrorAction { Fail, Abort, Retry };

// A column of the current row. Cheap to copy; valid while its dataset is open.
class Field
{
public:
    Field(Dataset *dataset, int column)
        : m_dataset(dataset)
        , m_column(column)
    {
    }

    const QString &name() const;
    ColumnType type() const;
    QVariant value() const;
    bool isNull() const;
    QString asString() const; // empty for NULL
    int asInteger() const;    // 0 for NULL
    double asFloat() const;   // 0 for NULL
    bool asBoolean() const;   // false for NULL
    QDate asDate() const;
    QTime asTime() const;
    QDateTime asDateTime() const;
    QString displayText() const;

    void setValue(const QVariant &value);
    void clear() { setValue(QVariant()); }

private:
    Dataset *m_dataset;
    int m_column;
};

// A static client-side cursor: open() reads every row of one SELECT into memory;
// the dataset then has a current row and the states browse, edit and insert.
// Writes reach the database at post and at delete, and are optimistic: they
// fail when another connection changed or deleted the row since it was read.
class Dataset : public QObject
{
    Q_OBJECT
public:
    explicit Dataset(Connection *connection, const QString &name = QString(),
                     QObject *parent = nullptr);
    ~Dataset() override;

    Connection *connection() const { return m_connection; }

    // --- the statement ------------------------------------------------------
    // Only while closed. Setting the text clears the parameters.
    void setCommandText(const QString &sql);
    QString commandText() const { return m_commandText; }
    // Whole-table mode: the statement reads every row of `table`.
    void setTableName(const QString &table);
    // The table written back at post and delete; empty when the statement is
    // not a plain "select * from <table>" of a known table (then read-only).
    QString tableName() const;

    void setParameter(const QString &name, const QVariant &value);
    QVariant parameter(const QString &name) const;
    QStringList parameterNames() const;
    void clearParameters();

    // Master-detail: this dataset shows the rows whose `indexFields` equal the
    // `masterFields` of the master's current row, and a row appended here starts
    // with them set.
    void setMasterLink(Dataset *master, const QStringList &masterFields,
                       const QStringList &indexFields);
    Dataset *master() const { return m_master; }

    // Before opening: a column computed by onCalcFields for every row.
    void addCalculatedField(const QString &name, ColumnType type);
    // How a column is shown: a Qt date/time format ("yyyy-MM-dd", "HH:mm"), or
    // for a Boolean "shown-when-true;shown-when-false" ("是;").
    void setDisplayFormat(const QString &column, const QString &format);

    // --- life ---------------------------------------------------------------
    void open();
    void close();
    bool isActive() const { return m_state != DatasetState::Inactive; }
    // Runs the statement again (keeping parameters, sort and filter) and stands on the first row.
    void requery();
    // Runs the statement as a command (anything but a SELECT); returns the rows affected.
    int execSQL();
    // An in-memory dataset, not connected to a table (the Transforms cache).
    void loadRecords(const QList<DatasetColumn> &columns, const QList<QVariantList> &rows);

    // --- columns ------------------------------------------------------------
    int columnCount() const { return int(m_columns.size()); }
    const DatasetColumn &column(int index) const { return m_columns.at(index); }
    int columnIndex(const QString &name) const; // -1 when absent, any letter case
    QStringList columnNames() const;
    // Throws data::Error when the dataset has no such column.
    Field fieldByName(const QString &name);
    Field field(int column) { return Field(this, column); }

    // --- rows and the cursor --------------------------------------------------
    int recordCount() const { return int(m_view.size()); }
    bool isEmpty() const { return m_view.empty(); }
    // Position of the current row among the rows shown, -1 when there is none.
    int recNo() const { return m_position; }
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    void first();
    void next();
    void prior();
    void last();
    void moveTo(int position);
    // Moves to the first row whose column equals `value` exactly; false (and no move) when none does.
    bool locate(const QString &column, const QVariant &value);

    // Values of any row shown; the current row shows its pending changes.
    QVariant valueAt(int position, int column) const;
    QString displayTextAt(int position, int column) const;

    // --- editing ------------------------------------------------------------
    DatasetState state() const { return m_state; }
    bool isEditing() const { return m_state == DatasetState::Edit || m_state == DatasetState::Insert; }
    // A value was set since edit or insert began.
    bool isModified() const { return m_modified; }
    void edit();   // on an empty dataset: append
    void append(); // a new row at the end, with the master link columns set
    void post();
    void cancel();
    void deleteRow();
    // Writes all pending changes: the row being edited, if any.
    void updateBatch();
    // Before the cursor moves: posts a changed row, drops an unchanged one.
    void checkBrowseMode();

    // --- order and filter (in memory, on the fetched rows) -------------------
    // "ID ASC", "ID ASC, CoName DESC"; empty for the order of the statement.
    void setSort(const QString &sort);
    QString sort() const { return m_sortText; }
    void setFilter(const QList<FilterCondition> &conditions);
    QList<FilterCondition> filter() const { return m_filter; }
    void setFiltered(bool filtered);
    bool isFiltered() const { return m_filtered; }
    // A further narrowing by any test of a row's values (a grid's own filter);
    // it applies whether or not the column filter is on. Empty removes it.
    using RowPredicate = std::function<bool(const Dataset &dataset, const QVariant *values)>;
    void setRowFilter(RowPredicate predicate);
    bool hasRowFilter() const { return bool(m_rowFilter); }

    // Bound views stop following the dataset until the matching enableControls().
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_controlsDisabled > 0; }

    // --- events -------------------------------------------------------------
    using Handler = std::function<void(Dataset &)>;
    Handler beforeEdit;
    Handler beforePost;
    Handler afterPost;
    Handler afterCancel;
    Handler beforeDelete;
    Handler afterDelete;
    Handler beforeScroll;
    Handler afterScroll;
    Handler afterOpen;
    Handler onCalcFields;
    // Runs at post, just before the row is written, in one transaction with
    // that write: when the row is refused, what it wrote is undone as well.
    Handler beforeWrite;
    std::function<PostErrorAction(Dataset &, const Error &)> onPostError;

signals:
    // The rows shown were replaced (open, close, requery, sort, filter, the master moved).
    void reset();
    void currentChanged(int position);
    void rowChanged(int position);
    void rowInserted(int position);
    void rowRemoved(int position);
    void stateChanged(data::DatasetState state);

private:
    friend class Field;

    struct Statement
    {
        QString sql;
        NamedValues values;
    };

    int requireColumn(const QString &name) const;
    const QVariant *currentValues() const;
    QVariant currentValue(int column) const;
    void setCurrentValue(int column, const QVariant &value);

    Statement selectStatement() const;
    void fetch(QSqlQuery &query);
    void setColumnsFrom(const QSqlRecord &record);
    void runSelect();
    void rebuildView(int keepStorageRow);
    QList<std::pair<int, bool>> sortColumns(const QString &sort) const; // column, ascending
    void applyOrderAndFilter();
    bool passesFilter(int storageRow) const;
    void calculate(QVariant *row);
    void calculateAll();

    void setState(DatasetState state);
    void scrollTo(int position, bool fireEvenIfSame);
    void notifyDetails(bool force);
    void masterChanged(bool force);
    QVariantList masterLinkValues() const;

    void writeRow();
    void insertRow();
    void updateRow();
    void storeReturnedRow(QSqlQuery &query, int storageRow);
    QString locatorCondition(int storageRow, NamedValues &values, const QList<int> &changed) const;
    void removeStorageRow(int storageRow);
    void requireTable(const char *operation) const;

    bool emitting() const { return m_controlsDisabled == 0; }

    QPointer<Connection> m_connection;
    QString m_commandText;
    QString m_tableName; // set by setTableName or derived from the statement
    const Table *m_table = nullptr;
    QHash<QString, QVariant> m_parameters; // names without the colon, upper case
    QStringList m_parameterOrder;

    QPointer<Dataset> m_master;
    QStringList m_masterFields;
    QStringList m_indexFields;
    QList<QPointer<Dataset>> m_details;
    int m_lastMasterRow = -2;
    QVariantList m_lastLinkValues;

    QList<DatasetColumn> m_columns;
    QList<DatasetColumn> m_calculated;
    QHash<QString, QString> m_displayFormats; // by lower-case column name
    int m_tableColumns = 0;                  // columns read from the statement

    std::vector<QVariant> m_cells; // row-major, columnCount() per stored row
    size_t m_lastFetchCells = 0;
    std::vector<bool> m_alive;
    std::vector<int> m_view; // stored rows in the order shown
    int m_position = -1;
    bool m_bof = true;
    bool m_eof = true;
    bool m_memory = false;

    DatasetState m_state = DatasetState::Inactive;
    std::vector<QVariant> m_buffer; // the row being edited or inserted
    bool m_modified = false;
    QVariant *m_calcTarget = nullptr;

    QString m_sortText;
    QList<FilterCondition> m_filter;
    bool m_filtered = false;
    RowPredicate m_rowFilter;
    int m_controlsDisabled = 0;

    QSqlQuery m_cachedQuery;
    QString m_cachedSql;
};

// A data source binds a dataset to data-aware controls; controls follow the
// dataset it points at, and follow a new one when it is switched.
class DataSource : public QObject
{
    Q_OBJECT
public:
    explicit DataSource(Dataset *dataset = nullptr, const QString &name = QString(),
                        QObject *parent = nullptr);

    Dataset *dataset() const { return m_dataset; }
    void setDataset(Dataset *dataset);

signals:
    void datasetChanged(data::Dataset *dataset);

private:
    QPointer<Dataset> m_dataset;
};

} // namespace data

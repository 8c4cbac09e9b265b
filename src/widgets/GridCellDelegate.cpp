#include "GridCellDelegate.h"

#include "GridColumn.h"
#include "GroupingModel.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QSpinBox>
#include <limits>

using data::ColumnType;

namespace {

const char *const ModifiedProperty = "lumoraModified";

// The date boxes show this day as blank: it stands for a NULL date.
QDate nullDate()
{
    return QDate(1900, 1, 1);
}

const GroupingModel *gridModel(const QModelIndex &index)
{
    return qobject_cast<const GroupingModel *>(index.model());
}

const GridColumn *columnOf(const QModelIndex &index)
{
    const GroupingModel *model = gridModel(index);
    return model ? model->gridColumn(index.column()) : nullptr;
}

ColumnType typeOf(const QModelIndex &index)
{
    const GroupingModel *model = gridModel(index);
    return model ? model->columnType(index.column()) : ColumnType::Text;
}

bool isCheckCell(const QModelIndex &index)
{
    const GridColumn *column = columnOf(index);
    return (column && column->displayKind() == GridColumn::CheckMark) ||
           typeOf(index) == ColumnType::Boolean;
}

bool isNull(const QVariant &value)
{
    return !value.isValid() || value.isNull();
}

// A number as an editor shows it: money with its two places, others as short as they go.
QString editText(const QVariant &value, const QModelIndex &index)
{
    if (isNull(value))
        return QString();
    if (typeOf(index) == ColumnType::Decimal) {
        const GridColumn *column = columnOf(index);
        if (column && column->displayKind() == GridColumn::Money)
            return QString::number(value.toDouble(), 'f', 2);
        return QString::number(value.toDouble(), 'g', 15);
    }
    return value.toString();
}

} // namespace

GridCellDelegate::GridCellDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{}

bool GridCellDelegate::isModified(const QWidget *editor)
{
    return editor && editor->property(ModifiedProperty).toBool();
}

void GridCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                             const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    const GridColumn *column = columnOf(index);

    if (column && column->displayKind() == GridColumn::CheckMark) {
        opt.text.clear();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        QStyleOptionViewItem check = opt;
        const int size = style->pixelMetric(QStyle::PM_IndicatorWidth, &opt, widget);
        check.rect = QRect(0, 0, size, size);
        check.rect.moveCenter(opt.rect.center());
        check.state &= ~(QStyle::State_On | QStyle::State_Off | QStyle::State_HasFocus);
        check.state |=
            index.data(GroupingModel::ValueRole).toBool() ? QStyle::State_On : QStyle::State_Off;
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &check, painter, widget);
        return;
    }
    if (column && column->displayKind() == GridColumn::Money &&
        isNull(index.data(GroupingModel::ValueRole))) {
        // The hint of an empty amount is not a value: grey it.
        const QColor hint = opt.palette.color(QPalette::PlaceholderText);
        opt.palette.setColor(QPalette::Text, hint);
    }
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
}

QWidget *GridCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                        const QModelIndex &index) const
{
    if (isCheckCell(index))
        return nullptr; // toggled in place, see editorEvent
    const GridColumn *column = columnOf(index);
    const Qt::Alignment alignment = column ? column->alignment() : Qt::AlignLeft | Qt::AlignVCenter;
    const ColumnType type = typeOf(index);
    QWidget *editor = nullptr;

    if (column && !column->pickList().isEmpty()) {
        auto *box = new QComboBox(parent);
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->addItems(column->pickList());
        box->lineEdit()->setAlignment(alignment);
        editor = box;
    } else if (type == ColumnType::Date || (column && column->displayKind() == GridColumn::Date)) {
        auto *box = new QDateEdit(parent);
        box->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        box->setCalendarPopup(true);
        box->setMinimumDate(nullDate());
        box->setSpecialValueText(QStringLiteral(" "));
        box->setAlignment(alignment);
        editor = box;
    } else if (type == ColumnType::Time || (column && column->displayKind() == GridColumn::Time)) {
        auto *box = new QTimeEdit(parent);
        box->setDisplayFormat(QStringLiteral("HH:mm"));
        box->setAlignment(alignment);
        editor = box;
    } else if (type == ColumnType::DateTime) {
        auto *box = new QDateTimeEdit(parent);
        box->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
        box->setCalendarPopup(true);
        box->setMinimumDate(nullDate());
        box->setSpecialValueText(QStringLiteral(" "));
        box->setAlignment(alignment);
        editor = box;
    } else if (type == ColumnType::Integer) {
        auto *box = new QSpinBox(parent);
        box->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
        box->setAlignment(alignment);
        editor = box;
    } else {
        auto *line = new QLineEdit(parent);
        line->setAlignment(alignment);
        line->setFrame(false);
        const GroupingModel *model = gridModel(index);
        const data::Dataset *dataset = model ? model->dataset() : nullptr;
        const int source = model ? model->sourceColumn(index.column()) : -1;
        if (dataset && source >= 0 && dataset->column(source).length > 0 && data::isTextType(type))
            line->setMaxLength(dataset->column(source).length);
        editor = line;
    }
    watchChanges(editor);
    return editor;
}

void GridCellDelegate::watchChanges(QWidget *editor) const
{
    auto *self = const_cast<GridCellDelegate *>(this);
    const auto changed = [self, editor] { self->markModified(editor); };
    if (auto *box = qobject_cast<QComboBox *>(editor)) {
        connect(box, &QComboBox::editTextChanged, self, changed);
        // Picking an item is a finished choice: it goes to the dataset at once.
        connect(box, &QComboBox::activated, self, [self, editor] {
            self->markModified(editor);
            emit self->commitData(editor);
        });
    } else if (auto *box = qobject_cast<QDateTimeEdit *>(editor)) {
        connect(box, &QDateTimeEdit::dateTimeChanged, self, changed);
    } else if (auto *box = qobject_cast<QSpinBox *>(editor)) {
        connect(box, &QSpinBox::valueChanged, self, changed);
    } else if (auto *line = qobject_cast<QLineEdit *>(editor)) {
        connect(line, &QLineEdit::textEdited, self, changed);
    }
}

void GridCellDelegate::markModified(QWidget *editor) const
{
    if (isModified(editor))
        return;
    editor->setProperty(ModifiedProperty, true);
    emit const_cast<GridCellDelegate *>(this)->editingStarted(editor);
}

void GridCellDelegate::revertEditor(QWidget *editor, const QModelIndex &index) const
{
    editor->setProperty(ModifiedProperty, false);
    setEditorData(editor, index);
}

void GridCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (isModified(editor))
        return; // the user's typing is newer than the row
    const QVariant value = index.data(Qt::EditRole);
    // Showing the model's value is not a change of the user's.
    const QSignalBlocker blocker(editor);
    if (auto *box = qobject_cast<QComboBox *>(editor)) {
        box->setEditText(editText(value, index));
    } else if (auto *box = qobject_cast<QDateEdit *>(editor)) {
        box->setDate(isNull(value) ? nullDate() : value.toDate());
    } else if (auto *box = qobject_cast<QTimeEdit *>(editor)) {
        box->setTime(isNull(value) ? QTime(0, 0) : value.toTime());
    } else if (auto *box = qobject_cast<QDateTimeEdit *>(editor)) {
        box->setDateTime(isNull(value) ? nullDate().startOfDay() : value.toDateTime());
    } else if (auto *box = qobject_cast<QSpinBox *>(editor)) {
        box->setValue(value.toInt());
    } else if (auto *line = qobject_cast<QLineEdit *>(editor)) {
        line->setText(editText(value, index));
    }
}

void GridCellDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                    const QModelIndex &index) const
{
    if (!isModified(editor))
        return;
    QVariant value;
    if (auto *box = qobject_cast<QComboBox *>(editor)) {
        value = box->currentText();
    } else if (auto *box = qobject_cast<QDateEdit *>(editor)) {
        value = box->date() == nullDate() ? QVariant() : QVariant(box->date());
    } else if (auto *box = qobject_cast<QTimeEdit *>(editor)) {
        value = box->time();
    } else if (auto *box = qobject_cast<QDateTimeEdit *>(editor)) {
        value = box->date() == nullDate() ? QVariant() : QVariant(box->dateTime());
    } else if (auto *box = qobject_cast<QSpinBox *>(editor)) {
        value = box->value();
    } else if (auto *line = qobject_cast<QLineEdit *>(editor)) {
        value = line->text();
    }
    editor->setProperty(ModifiedProperty, false);
    // A value the dataset refused (its box was shown) is taken back from the editor.
    if (!model->setData(index, value, Qt::EditRole))
        revertEditor(editor, index);
}

bool GridCellDelegate::editorEvent(QEvent *event, QAbstractItemModel *model,
                                   const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (!isCheckCell(index) || !(index.flags() & Qt::ItemIsEditable))
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    bool toggle = false;
    switch (event->type()) {
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        toggle =
            mouse->button() == Qt::LeftButton && option.rect.contains(mouse->position().toPoint());
        break;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent *>(event)->key();
        toggle = key == Qt::Key_Space || key == Qt::Key_Select;
        break;
    }
    default:
        break;
    }
    if (!toggle)
        return false;
    model->setData(index, !index.data(Qt::EditRole).toBool(), Qt::EditRole);
    return true;
}

bool GridCellDelegate::eventFilter(QObject *object, QEvent *event)
{
    auto *editor = qobject_cast<QWidget *>(object);
    if (editor && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Escape:
            emit cancelRequested(editor);
            return true;
        case Qt::Key_Enter:
        case Qt::Key_Return:
            emit commitData(editor);
            emit submitRequested(editor);
            return true;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            emit commitData(editor);
            emit stepRequested(editor, key->key() == Qt::Key_Backtab ||
                                           key->modifiers().testFlag(Qt::ShiftModifier));
            return true;
        default:
            break;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

#include "FieldLink.h"

#include "Dialect.h"
#include "Error.h"
#include "Guard.h"

#include <QApplication>
#include <QScopedValueRollback>
#include <QWidget>

using data::Dataset;
using data::DatasetState;

namespace {

bool isNull(const QVariant &value)
{
    return !value.isValid() || value.isNull();
}

bool sameValue(const QVariant &a, const QVariant &b)
{
    if (isNull(a) || isNull(b))
        return isNull(a) == isNull(b);
    return a == b;
}

} // namespace

FieldLink::FieldLink(data::DataSource *source, const QString &fieldName, QObject *parent)
    : QObject(parent)
    , m_fieldName(fieldName)
{
    setDataSource(source);
}

void FieldLink::setDataSource(data::DataSource *source)
{
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    if (source)
        connect(source, &data::DataSource::datasetChanged, this, &FieldLink::attach);
    attach();
}

void FieldLink::setFieldName(const QString &fieldName)
{
    m_fieldName = fieldName;
    forgetChangeAndShow();
}

void FieldLink::attach()
{
    for (const QMetaObject::Connection &c : std::as_const(m_datasetConnections))
        disconnect(c);
    m_datasetConnections.clear();
    m_dataset = m_source ? m_source->dataset() : nullptr;
    if (Dataset *d = m_dataset) {
        const auto unlessWriting = [this] {
            if (!m_writing)
                forgetChangeAndShow();
        };
        m_datasetConnections << connect(d, &Dataset::reset, this, unlessWriting)
                             << connect(d, &Dataset::currentChanged, this, unlessWriting)
                             << connect(d, &Dataset::rowChanged, this, &FieldLink::onRowChanged)
                             << connect(d, &Dataset::stateChanged, this, &FieldLink::onStateChanged)
                             << connect(d, &QObject::destroyed, this,
                                        &FieldLink::forgetChangeAndShow);
    }
    forgetChangeAndShow();
}

int FieldLink::columnIndex() const
{
    if (!m_dataset || !m_dataset->isActive())
        return -1;
    return m_dataset->columnIndex(m_fieldName);
}

const data::DatasetColumn *FieldLink::column() const
{
    const int c = columnIndex();
    return c < 0 ? nullptr : &m_dataset->column(c);
}

QVariant FieldLink::value() const
{
    const int c = columnIndex();
    return c < 0 ? QVariant() : m_dataset->field(c).value();
}

QString FieldLink::displayText() const
{
    const int c = columnIndex();
    return c < 0 ? QString() : m_dataset->field(c).displayText();
}

void FieldLink::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    emit refreshRequested();
}

bool FieldLink::isWritable() const
{
    const data::DatasetColumn *c = column();
    return !m_readOnly && c && c->inTable && !c->calculated &&
           c->type != data::ColumnType::AutoNumber && !m_dataset->tableName().isEmpty();
}

bool FieldLink::accepts(const QString &text) const
{
    const data::DatasetColumn *c = column();
    if (!c || data::isTextType(c->type))
        return true;
    try {
        data::convertValue(text, c->type, c->length, c->name);
        return true;
    } catch (const data::Error &) {
        return false;
    }
}

data::Field FieldLink::beginChange()
{
    if (!m_dataset || !m_dataset->isActive())
        throw data::Error(QStringLiteral("数据集未打开，不能修改字段“%1”。").arg(m_fieldName));
    if (!m_dataset->isEditing())
        m_dataset->edit();
    data::Field field = m_dataset->fieldByName(m_fieldName);
    if (!m_changeOpen) {
        m_valueBeforeChange = field.value();
        m_changeOpen = true;
    }
    return field;
}

bool FieldLink::write(const QVariant &newValue)
{
    bool written = false;
    guarded([&] {
        const QScopedValueRollback writing(m_writing, true);
        data::Field field = beginChange();
        field.setValue(newValue);
        m_heldText.reset();
        m_shownValue = field.value();
        written = true;
    });
    if (!written)
        showStoredValue(); // the error box was shown; the control gives up what it holds
    return written;
}

bool FieldLink::changeTo(const QVariant &newValue)
{
    if (!isWritable()) {
        // A control made read-only takes no user input; show the field again.
        showStoredValue();
        return false;
    }
    if (!write(newValue))
        return false;
    emit refreshRequested();
    emit changed();
    return true;
}

void FieldLink::typeText(const QString &text)
{
    if (!isWritable()) {
        showStoredValue();
        return;
    }
    if (accepts(text)) {
        if (write(text))
            emit changed();
        return;
    }
    bool held = false;
    guarded([&] {
        const QScopedValueRollback writing(m_writing, true);
        beginChange();
        m_heldText = text;
        held = true;
    });
    if (held)
        emit changed();
    else
        showStoredValue();
}

bool FieldLink::submitTyped()
{
    if (!m_heldText)
        return true;
    const QString text = *m_heldText;
    if (write(text))
        return true;
    // The text is refused as a whole: what its valid beginnings wrote ("1"
    // and "12" of "12x") goes with it.
    if (m_valueBeforeChange && m_dataset && m_dataset->isEditing()) {
        guarded([&] {
            const QScopedValueRollback writing(m_writing, true);
            m_dataset->fieldByName(m_fieldName).setValue(*m_valueBeforeChange);
        });
        showStoredValue();
    }
    return false;
}

bool FieldLink::setValue(const QVariant &newValue)
{
    // Read-only is about the user: the program may still set the value, as
    // QLineEdit::setText works on a read-only box.
    m_changeOpen = false;
    const bool written = write(newValue);
    m_changeOpen = false;
    if (written) {
        emit refreshRequested();
        emit changed();
    }
    return written;
}

bool FieldLink::undoLastChange()
{
    if (!m_valueBeforeChange)
        return false;
    const QVariant before = *m_valueBeforeChange;
    m_valueBeforeChange.reset();
    m_heldText.reset();
    m_changeOpen = false;
    bool undone = false;
    if (m_dataset && m_dataset->isEditing()) {
        guarded([&] {
            const QScopedValueRollback writing(m_writing, true);
            m_dataset->fieldByName(m_fieldName).setValue(before);
            undone = true;
        });
    }
    showStoredValue();
    if (undone)
        emit changed();
    return undone;
}

bool FieldLink::endsVisit(Qt::FocusReason reason)
{
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

void FieldLink::leave(Qt::FocusReason reason)
{
    if (!endsVisit(reason))
        return;
    submitTyped();
    m_changeOpen = false;
    // Shown as stored: "2024-3-5" becomes "2024-03-05", "12.5" becomes "12.50".
    showStoredValue();
    emit exited();
}

bool FieldLink::submitFocused(data::Dataset *dataset)
{
    for (QWidget *w = QApplication::focusWidget(); w;
         w = w->isWindow() ? nullptr : w->parentWidget()) {
        const auto links = w->findChildren<FieldLink *>(Qt::FindDirectChildrenOnly);
        for (FieldLink *link : links) {
            if (link->dataset() == dataset)
                return link->submitTyped();
        }
    }
    return true;
}

void FieldLink::forgetChange()
{
    m_heldText.reset();
    m_valueBeforeChange.reset();
    m_changeOpen = false;
}

void FieldLink::forgetChangeAndShow()
{
    forgetChange();
    showStoredValue();
}

void FieldLink::showStoredValue()
{
    m_heldText.reset();
    m_shownValue = value();
    emit refreshRequested();
}

void FieldLink::onStateChanged(data::DatasetState state)
{
    // Posted, cancelled or closed: whatever was typed is settled.
    if (!m_writing && (state == DatasetState::Browse || state == DatasetState::Inactive))
        forgetChangeAndShow();
}

void FieldLink::onRowChanged(int position)
{
    if (m_writing || !m_dataset || position != m_dataset->recNo())
        return;
    // The row changed, but perhaps in another field: only a new value of this
    // one replaces what the control holds.
    if (!sameValue(value(), m_shownValue))
        showStoredValue();
}

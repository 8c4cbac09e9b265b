#include "DBComboBox.h"

#include "Prompt.h"

#include <QCompleter>
#include <QFocusEvent>
#include <QLineEdit>
#include <QStringListModel>

DBComboBox::DBComboBox(data::DataSource *source, const QString &fieldName, Mode mode,
                       QWidget *parent)
    : LockableComboBox(parent)
    , m_link(new FieldLink(source, fieldName, this))
    , m_mode(mode)
{
    setInsertPolicy(QComboBox::NoInsert);
    useModel(new QStringListModel(this));
    connect(m_link, &FieldLink::refreshRequested, this, &DBComboBox::showField);
    connect(m_link, &FieldLink::changed, this, &DBComboBox::changed);
    connect(m_link, &FieldLink::exited, this, &DBComboBox::exited);
    // activated comes from the user only: a pick from the list, the arrow
    // keys, the wheel, a search by typing in a fixed list.
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (m_link->isWritable() && index >= 0)
            m_link->changeTo(itemText(index));
    });
    setMode(mode);
}

void DBComboBox::setMode(Mode mode)
{
    m_mode = mode;
    setEditable(mode == Mode::FreeText);
    prepareLineEdit();
    showField();
}

void DBComboBox::setAutoCompletion(bool on)
{
    m_autoCompletion = on;
    prepareLineEdit();
}

void DBComboBox::prepareLineEdit()
{
    QLineEdit *edit = lineEdit();
    if (!edit)
        return;
    // setEditable makes a new line edit with a completer of its own each time.
    if (!m_autoCompletion)
        setCompleter(nullptr);
    else if (!completer()) {
        auto *c = new QCompleter(model(), edit);
        c->setCaseSensitivity(Qt::CaseInsensitive);
        c->setCompletionMode(QCompleter::InlineCompletion);
        setCompleter(c);
    }
    disconnect(edit, &QLineEdit::textEdited, m_link, nullptr);
    connect(edit, &QLineEdit::textEdited, m_link, &FieldLink::typeText);
}

void DBComboBox::setItems(const QStringList &items)
{
    if (m_items && m_items->parent() == this) {
        m_items->setStringList(items);
        return;
    }
    useModel(new QStringListModel(items, this));
}

void DBComboBox::setItemModel(QStringListModel *model)
{
    useModel(model ? model : new QStringListModel(this));
}

void DBComboBox::useModel(QStringListModel *model)
{
    for (const QMetaObject::Connection &c : std::as_const(m_modelConnections))
        disconnect(c);
    m_modelConnections.clear();
    m_items = model;
    // Also gives the completer the model; a previous model of the box's own
    // is deleted by QComboBox, a shared one is left alone.
    setModel(model);
    // QComboBox moves its current item as the rows change; show the field
    // again (never write it) once the model is done.
    const auto reshow = [this] { showField(); };
    m_modelConnections << connect(model, &QAbstractItemModel::modelReset, this, reshow)
                       << connect(model, &QAbstractItemModel::rowsInserted, this, reshow)
                       << connect(model, &QAbstractItemModel::rowsRemoved, this, reshow)
                       << connect(model, &QAbstractItemModel::rowsMoved, this, reshow)
                       << connect(model, &QAbstractItemModel::dataChanged, this, reshow)
                       << connect(model, &QAbstractItemModel::layoutChanged, this, reshow);
    showField();
}

QStringList DBComboBox::items() const
{
    return m_items ? m_items->stringList() : QStringList();
}

bool DBComboBox::setValue(const QVariant &value)
{
    const QString text = value.toString();
    if (m_mode == Mode::FixedList && !text.isEmpty() && findText(text, Qt::MatchExactly) < 0) {
        showStandardError(QStringLiteral("“%1”不是“%2”可以选择的值。").arg(text, fieldName()));
        return false;
    }
    return m_link->setValue(value);
}

void DBComboBox::showField()
{
    setLocked(!m_link->isWritable());
    const QString text = m_link->displayText();
    const int index = findText(text, Qt::MatchExactly);
    if (index != currentIndex())
        setCurrentIndex(index);
    if (isEditable() && currentText() != text)
        setEditText(text);
}

void DBComboBox::focusOutEvent(QFocusEvent *event)
{
    LockableComboBox::focusOutEvent(event);
    // Inline completion fills in text without a textEdited notice. QComboBox
    // hands over a completion that is an item (activated); whatever else the
    // box shows when left (a completion in other letter case) the user accepted.
    if (FieldLink::endsVisit(event->reason()) && isEditable() && m_link->isWritable() &&
        currentText() != m_link->displayText())
        m_link->typeText(currentText());
    m_link->leave(event->reason());
}

#pragma once

#include "Dataset.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <optional>

// Binds one control to one field of the current row of a data source's
// dataset. Every data-bound control keeps one and leaves the bookkeeping to it:
//
// - Following: it asks the control to show the field's value again when the
//   rows were reset, the current row moved, someone else changed the field,
//   the row was posted or cancelled, or the data source switched datasets.
//   Showing a row never writes anything.
// - Writing: the first change the user makes puts the row into edit (on an
//   empty dataset, edit() appends), so the dataset's state and isModified()
//   tell an editor whether anything changed. Values go in with
//   Field::setValue; a refused value is shown in the standard error box and
//   the control shows the field's value again. Nothing throws out of here.
// - Undo: a user's change is one visit of the control, from the first change
//   until the focus leaves it; undoLastChange() returns the field to the value
//   it had before the last such change.
class FieldLink : public QObject
{
    Q_OBJECT
public:
    // `parent` is the control; FieldLink::submitFocused finds links by it.
    FieldLink(data::DataSource *source, const QString &fieldName, QObject *parent);

    data::DataSource *dataSource() const { return m_source; }
    void setDataSource(data::DataSource *source);
    const QString &fieldName() const { return m_fieldName; }
    void setFieldName(const QString &fieldName);
    data::Dataset *dataset() const { return m_dataset; }

    // --- the current row ------------------------------------------------------
    // The dataset's column of that name, or nullptr while the dataset is
    // closed or has no such column.
    const data::DatasetColumn *column() const;
    // The field's value; an invalid QVariant when there is no current row.
    QVariant value() const;
    // The field as the dataset shows it (its display format); empty for NULL.
    QString displayText() const;

    // --- writing --------------------------------------------------------------
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; } // as asked by setReadOnly
    // Whether the user may change the field now: not made read-only, and the
    // dataset open, writable and holding the column as one of its table's.
    bool isWritable() const;

    // The user changed the control to `value`: puts the row into edit and
    // writes it. False when it was refused (the error box was shown) or the
    // field is not writable (then quietly: the control shows it again).
    bool changeTo(const QVariant &value);
    // The user is typing: a text that is a valid value of the field is written
    // at once; one that is not yet (a half-typed date, "-" of a number) is held
    // until submitTyped(), so that typing is never interrupted by an error.
    void typeText(const QString &text);
    // Writes the typed text still held back. False when it was refused.
    bool submitTyped();
    // A value set by the program, as a change of its own (undoable, it emits
    // changed()); also on a control made read-only, as QLineEdit::setText
    // works on a read-only box. False when it was refused.
    bool setValue(const QVariant &value);
    // Returns the field to its value before the user's last change. False when
    // there is nothing to undo.
    bool undoLastChange();
    // The focus left the control: held text is written, the change ends, the
    // control shows the stored value and exited() follows. A focus that only
    // went to a popup (a drop-down list, a calendar) or to another window
    // (a message box) has not left.
    void leave(Qt::FocusReason reason);
    static bool endsVisit(Qt::FocusReason reason);

    // The control holding the keyboard focus, when it is bound to `dataset`,
    // writes the text it holds. For commands that move or post the dataset
    // without taking the focus from the control (the navigator's buttons).
    // False when that text was refused.
    static bool submitFocused(data::Dataset *dataset);

signals:
    // The control should show value() again, and whether it may be changed.
    void refreshRequested();
    // The field was changed through this link (by the user, setValue or undo).
    void changed();
    // The focus left the control (after its typed text was written).
    void exited();

private:
    void attach();
    int columnIndex() const;
    bool accepts(const QString &text) const;
    data::Field beginChange();
    bool write(const QVariant &newValue);
    void forgetChangeAndShow();
    void showStoredValue(); // keeps the change under way
    void forgetChange();
    void onRowChanged(int position);
    void onStateChanged(data::DatasetState state);

    QPointer<data::DataSource> m_source;
    QPointer<data::Dataset> m_dataset;
    QList<QMetaObject::Connection> m_datasetConnections;
    QString m_fieldName;
    bool m_readOnly = false;

    // Set while this link edits or writes, so that the dataset's notices of
    // its own doing do not make the control show the value again mid-typing.
    bool m_writing = false;
    bool m_changeOpen = false;
    std::optional<QVariant> m_valueBeforeChange;
    std::optional<QString> m_heldText;
    QVariant m_shownValue; // what the control was last told to show
};

#include "LockableComboBox.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>

LockableComboBox::LockableComboBox(QWidget *parent)
    : QComboBox(parent)
{}

void LockableComboBox::setLocked(bool locked)
{
    m_locked = locked;
    if (QLineEdit *edit = lineEdit())
        edit->setReadOnly(locked);
    // A read-only line edit still takes what an input method commits; the
    // platform sends nothing to a widget that does not ask for it.
    setAttribute(Qt::WA_InputMethodEnabled, !locked && isEditable());
}

void LockableComboBox::showPopup()
{
    if (!m_locked)
        QComboBox::showPopup();
}

void LockableComboBox::keyPressEvent(QKeyEvent *event)
{
    if (m_locked) {
        event->ignore();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void LockableComboBox::wheelEvent(QWheelEvent *event)
{
    if (m_locked) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}

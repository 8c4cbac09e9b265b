#include "EditorDialog.h"

#include "Dataset.h"
#include "Guard.h"

#include <QCloseEvent>

EditorDialog::EditorDialog(data::Dataset *dataset, CloseQuestion question, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
    , m_dataset(dataset)
    , m_question(std::move(question))
{
}

bool EditorDialog::FormCloseQuery()
{
    if (!m_dataset || !m_dataset->isEditing())
        return true;
    return showMessage(QStringLiteral("询问"), m_question.text, m_question.icon, MessageButton::Yes | MessageButton::No,
                       m_question.defaultButton)
        == MessageButton::Yes;
}

void EditorDialog::FormClose()
{
    if (m_dataset)
        m_dataset->cancel();
}

void EditorDialog::done(int result)
{
    // Every way of closing (a button, Esc, the title bar) asks first.
    if (m_closing)
        return;
    if (!FormCloseQuery())
        return;
    m_closing = true;
    guarded([this] { FormClose(); });
    QDialog::done(result);
    m_closing = false;
}

void EditorDialog::reject()
{
    done(QDialog::Rejected);
}

void EditorDialog::closeEvent(QCloseEvent *event)
{
    // done() decides and hides; the event itself must not close past it.
    event->ignore();
    reject();
}

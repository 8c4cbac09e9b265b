#pragma once

#include "Dataset.h"
#include "Prompt.h"

#include <QDialog>
#include <QPointer>

// The record editors' common behaviour: a modal dialog over one dataset's
// current row that asks before it drops changes on any close request and
// cancels what is left pending when it closes.
class EditorDialog : public QDialog
{
    Q_OBJECT
public:
    struct CloseQuestion
    {
        QString text;
        MessageIcon icon = MessageIcon::Question;
        MessageButton defaultButton = MessageButton::NoButton;
    };

    EditorDialog(data::Dataset *dataset, CloseQuestion question, QWidget *parent = nullptr);

    data::Dataset *editedDataset() const { return m_dataset; }

    // FormCloseQuery: true when the dialog may close (the dataset is not
    // editing, or the user agreed to drop the changes).
    virtual bool FormCloseQuery();
    // FormClose: cancels the pending change of the dataset.
    virtual void FormClose();

    void done(int result) override;
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QPointer<data::Dataset> m_dataset;
    CloseQuestion m_question;
    bool m_closing = false;
};

#pragma once

#include <QWidget>

class DataGrid;
class DBMemo;
class QMenu;
class QSplitter;
class QTabWidget;

namespace data {
class Dataset;
}

// The client list: the clients above, and below them everything recorded for
// the selected client (contacts, visits, orders, appointments, the company's
// overview). Every command goes through EditClient with its code.
class TClientListForm : public QWidget
{
    Q_OBJECT
public:
    explicit TClientListForm(QWidget *parent = nullptr);

    DataGrid *clientGrid;
    DataGrid *contactGrid;
    DataGrid *visitGrid;
    DataGrid *salesGrid;
    DataGrid *bespeakGrid;
    DBMemo *overview;
    QTabWidget *upperPages;
    QTabWidget *lowerPages;
    QMenu *clientMenu, *contactMenu, *visitMenu, *salesMenu, *bespeakMenu;

    // The dispatcher of the record commands (codes 1-20 and 32).
    void EditClient(int code);
    // Home page (100), the client's e-mail (101), the contact's e-mail (102).
    void SendEMailorWeb(int code);
    // The print items: report 1 and 211-214.
    void N13Click(int report);
    // Deletes the current row of `dataset` after asking, then requeries `list`.
    void DeleteData(data::Dataset *dataset, data::Dataset *list);

    // The lower pages take half the window's height less 30 pixels.
    void FormResize();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildGrids();
    void buildMenus();
    void deleteClient(const QString &clientName);
    void editOrder();
    void deleteOrder();
    void resetClients();
};

extern TClientListForm *ClientListForm;

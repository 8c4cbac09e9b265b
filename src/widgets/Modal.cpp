#include "Modal.h"

#include <QDialog>

namespace {

class ExecModal final : public Modal
{
public:
    int run(QDialog *dialog) override { return dialog->exec(); }
};

Modal *installedModal = nullptr;

} // namespace

Modal &Modal::current()
{
    static ExecModal exec;
    return installedModal ? *installedModal : exec;
}

void Modal::install(Modal *modal)
{
    installedModal = modal;
}

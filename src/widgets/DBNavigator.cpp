#include "DBNavigator.h"

#include "ArrowIcons.h"
#include "FieldLink.h"
#include "Guard.h"

#include <QHBoxLayout>
#include <QToolButton>

using data::Dataset;

namespace {

struct ButtonLook
{
    DBNavigator::Button button;
    const char *objectName;
    ArrowGlyph glyph;
    QString hint;
};

const QList<ButtonLook> &buttonLooks()
{
    static const QList<ButtonLook> looks = {
        {DBNavigator::Button::First, "firstButton", ArrowGlyph::First,
         QStringLiteral("第一条记录")},
        {DBNavigator::Button::Prior, "priorButton", ArrowGlyph::Prior,
         QStringLiteral("前一条记录")},
        {DBNavigator::Button::Next, "nextButton", ArrowGlyph::Next, QStringLiteral("下一条记录")},
        {DBNavigator::Button::Last, "lastButton", ArrowGlyph::Last, QStringLiteral("最后一条记录")},
    };
    return looks;
}

} // namespace

DBNavigator::DBNavigator(data::DataSource *source, QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const ButtonLook &look : buttonLooks()) {
        auto *b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(look.objectName));
        b->setIcon(arrowIcon(look.glyph));
        b->setToolTip(look.hint);
        b->setFocusPolicy(Qt::NoFocus);
        b->setMinimumSize(30, 25);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        const Button which = look.button;
        connect(b, &QToolButton::clicked, this, [this, which] { move(which); });
        layout->addWidget(b);
        m_buttons << b;
    }
    setDataSource(source);
}

void DBNavigator::setDataSource(data::DataSource *source)
{
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    if (source)
        connect(source, &data::DataSource::datasetChanged, this, &DBNavigator::attach);
    attach();
}

QToolButton *DBNavigator::button(Button which) const
{
    return m_buttons.at(int(which));
}

void DBNavigator::attach()
{
    for (const QMetaObject::Connection &c : std::as_const(m_datasetConnections))
        disconnect(c);
    m_datasetConnections.clear();
    m_dataset = m_source ? m_source->dataset() : nullptr;
    if (Dataset *d = m_dataset) {
        const auto update = [this] { updateButtons(); };
        m_datasetConnections << connect(d, &Dataset::reset, this, update)
                             << connect(d, &Dataset::currentChanged, this, update)
                             << connect(d, &Dataset::rowInserted, this, update)
                             << connect(d, &Dataset::rowRemoved, this, update)
                             << connect(d, &Dataset::stateChanged, this, update)
                             << connect(d, &QObject::destroyed, this, update);
    }
    updateButtons();
}

void DBNavigator::updateButtons()
{
    const Dataset *d = m_dataset;
    const bool rows = d && d->isActive() && !d->isEmpty();
    const int position = rows ? d->recNo() : -1;
    const bool back = rows && position > 0;
    const bool forward = rows && position < d->recordCount() - 1;
    button(Button::First)->setEnabled(back);
    button(Button::Prior)->setEnabled(back);
    button(Button::Next)->setEnabled(forward);
    button(Button::Last)->setEnabled(forward);
}

void DBNavigator::move(Button which)
{
    guarded([&] {
        Dataset *d = m_dataset;
        if (!d || !d->isActive())
            return;
        // A half-typed value in the focused box is written (or refused) first,
        // as leaving the box would; a refusal keeps the row where it is.
        if (!FieldLink::submitFocused(d))
            return;
        switch (which) {
        case Button::First:
            d->first();
            break;
        case Button::Prior:
            d->prior();
            break;
        case Button::Next:
            d->next();
            break;
        case Button::Last:
            d->last();
            break;
        }
    });
    updateButtons();
}

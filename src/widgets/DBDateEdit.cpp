#include "DBDateEdit.h"

#include "ArrowIcons.h"
#include "Clock.h"

#include <QAction>
#include <QCalendarWidget>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

DBDateEdit::DBDateEdit(data::DataSource *source, const QString &fieldName, QWidget *parent)
    : DBEdit(source, fieldName, parent)
    , m_dropDown(addAction(arrowIcon(ArrowGlyph::Down), QLineEdit::TrailingPosition))
    , m_popup(new QFrame(this, Qt::Popup))
    , m_calendar(new QCalendarWidget(m_popup))
{
    m_dropDown->setObjectName(QStringLiteral("calendarButton"));
    connect(m_dropDown, &QAction::triggered, this, &DBDateEdit::showCalendar);

    m_popup->setObjectName(QStringLiteral("calendarPopup"));
    m_popup->setFrameShape(QFrame::StyledPanel);
    m_calendar->setObjectName(QStringLiteral("calendar"));
    m_calendar->setGridVisible(true);
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    connect(m_calendar, &QCalendarWidget::clicked, this, [this](QDate date) { pick(date); });
    connect(m_calendar, &QCalendarWidget::activated, this, [this](QDate date) { pick(date); });

    const auto button = [this](const char *name, const QString &text) {
        auto *b = new QPushButton(text, m_popup);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    QPushButton *clear = button("clearButton", QStringLiteral("清除"));
    QPushButton *now = button("nowButton", QStringLiteral("现在"));
    QPushButton *today = button("todayButton", QStringLiteral("今天"));
    connect(clear, &QPushButton::clicked, this, [this] { pick(QVariant()); });
    connect(now, &QPushButton::clicked, this, [this] { pick(currentDateTime()); });
    connect(today, &QPushButton::clicked, this, [this] { pick(currentDate()); });

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(clear);
    buttons->addStretch();
    buttons->addWidget(now);
    buttons->addWidget(today);
    auto *layout = new QVBoxLayout(m_popup);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_calendar);
    layout->addLayout(buttons);

    setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
}

void DBDateEdit::showCalendar()
{
    if (isReadOnly())
        return;
    const QDate shown = link().value().toDate();
    m_calendar->setSelectedDate(shown.isValid() ? shown : currentDate());
    m_popup->adjustSize();
    m_popup->move(mapToGlobal(QPoint(0, height())));
    m_popup->show();
    m_calendar->setFocus(Qt::PopupFocusReason);
}

void DBDateEdit::pick(const QVariant &value)
{
    m_popup->hide();
    // Typed text not yet written gives way to the date picked.
    link().changeTo(value);
}

void DBDateEdit::keyPressEvent(QKeyEvent *event)
{
    const bool dropDown = event->key() == Qt::Key_F4 ||
                          (event->key() == Qt::Key_Down && event->modifiers() & Qt::AltModifier);
    if (dropDown) {
        showCalendar();
        return;
    }
    DBEdit::keyPressEvent(event);
}

void DBDateEdit::showField()
{
    DBEdit::showField();
    m_dropDown->setEnabled(!isReadOnly());
}

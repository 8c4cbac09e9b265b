#include "GroupPanel.h"

#include "GridHeader.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QToolButton>
#include <functional>

namespace {

QString titleFormat()
{
    return QStringLiteral("application/x-lumora-grid-group");
}

// The grouped column's title. Dragging it away from the panel (dropping it
// where nothing takes it) reports `draggedAway`.
class GroupTitleButton : public QToolButton
{
public:
    explicit GroupTitleButton(QWidget *parent)
        : QToolButton(parent)
    {}

    std::function<void()> draggedAway;

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        m_pressPos = event->position().toPoint();
        QToolButton::mousePressEvent(event);
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (!(event->buttons() & Qt::LeftButton) ||
            (event->position().toPoint() - m_pressPos).manhattanLength() <
                QApplication::startDragDistance()) {
            QToolButton::mouseMoveEvent(event);
            return;
        }
        setDown(false);
        auto *mime = new QMimeData;
        mime->setData(titleFormat(), QByteArray::number(quintptr(this), 16));
        auto *drag = new QDrag(this);
        drag->setMimeData(mime);
        drag->setPixmap(grab());
        // The panel takes the title back; anywhere else nothing does.
        if (drag->exec(Qt::MoveAction) == Qt::IgnoreAction && draggedAway)
            draggedAway();
    }

private:
    QPoint m_pressPos;
};

} // namespace

GroupPanel::GroupPanel(QWidget *parent)
    : QFrame(parent)
    , m_hint(new QLabel(hintText(), this))
    , m_title(new GroupTitleButton(this))
    , m_remove(new QToolButton(this))
{
    setObjectName(QStringLiteral("groupPanel"));
    setAcceptDrops(true);
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Mid);
    m_hint->setForegroundRole(QPalette::BrightText);
    m_title->setObjectName(QStringLiteral("groupTitle"));
    m_title->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_remove->setObjectName(QStringLiteral("ungroup"));
    m_remove->setText(QStringLiteral("×"));
    m_remove->setToolTip(QStringLiteral("取消分组"));
    m_remove->setAutoRaise(true);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(0);
    layout->addWidget(m_hint);
    layout->addWidget(m_title);
    layout->addWidget(m_remove);
    layout->addStretch();

    connect(m_title, &QToolButton::clicked, this, &GroupPanel::orderToggled);
    connect(m_remove, &QToolButton::clicked, this, &GroupPanel::ungroupRequested);
    static_cast<GroupTitleButton *>(m_title)->draggedAway = [this] { emit ungroupRequested(); };
    showGroup(QString(), QString(), false);
}

QString GroupPanel::hintText()
{
    return QStringLiteral("拖动列标题到此处可以按该列分组");
}

void GroupPanel::showGroup(const QString &field, const QString &caption, bool descending)
{
    m_field = field;
    const bool grouped = !field.isEmpty();
    m_hint->setVisible(!grouped);
    m_title->setVisible(grouped);
    m_remove->setVisible(grouped);
    m_title->setText(caption + (descending ? QStringLiteral(" ▼") : QStringLiteral(" ▲")));
    m_title->setToolTip(descending ? QStringLiteral("降序分组，单击改为升序")
                                   : QStringLiteral("升序分组，单击改为降序"));
}

bool GroupPanel::accepts(const QMimeData *mime) const
{
    if (!GridHeader::draggedField(mime, m_header).isEmpty())
        return true;
    return mime && mime->data(titleFormat()) == QByteArray::number(quintptr(m_title), 16);
}

void GroupPanel::dragEnterEvent(QDragEnterEvent *event)
{
    if (accepts(event->mimeData()))
        event->acceptProposedAction();
}

void GroupPanel::dragMoveEvent(QDragMoveEvent *event)
{
    if (accepts(event->mimeData()))
        event->acceptProposedAction();
}

void GroupPanel::dropEvent(QDropEvent *event)
{
    if (!accepts(event->mimeData()))
        return;
    event->acceptProposedAction();
    // The grouped title dropped back where it was changes nothing.
    const QString field = GridHeader::draggedField(event->mimeData(), m_header);
    if (!field.isEmpty())
        emit groupRequested(field);
}

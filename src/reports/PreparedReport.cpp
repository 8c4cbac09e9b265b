#include "PreparedReport.h"

#include "Fonts.h"
#include "ReportContent.h"
#include "ReportFormat.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

#include <memory>

namespace {

constexpr double kGap = 60;        // between cells and rows
constexpr double kBlockSpace = 120; // between record blocks

// Long values wrap between words, and a word wider than its cell (a long
// amount or address) breaks anywhere rather than run over its neighbour.
QTextOption wrapOption(Qt::Alignment alignment)
{
    QTextOption option(alignment);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return option;
}

// A piece of a record block: the block is kept whole, and only one taller
// than a page breaks, between its pieces.
struct Piece
{
    QList<PreparedReport::Text> texts;
    QList<QLineF> rules;
    double height = 0;
};

class Measure
{
public:
    Measure()
    {
        for (auto role : {PreparedReport::Font::Title, PreparedReport::Font::Heading, PreparedReport::Font::Body,
                          PreparedReport::Font::Footer})
            m_metrics[size_t(role)] = std::make_unique<QFontMetricsF>(PreparedReport::font(role));
    }

    const QFontMetricsF &of(PreparedReport::Font role) const { return *m_metrics[size_t(role)]; }
    double lineHeight(PreparedReport::Font role) const { return of(role).height(); }
    double width(PreparedReport::Font role, const QString &text) const { return of(role).horizontalAdvance(text); }
    // The height of `text` wrapped to `width`.
    double height(PreparedReport::Font role, const QString &text, double width) const
    {
        const QFontMetricsF &m = of(role);
        if (text.isEmpty() || (!text.contains(QLatin1Char('\n')) && m.horizontalAdvance(text) <= width))
            return m.height();
        QString wrapped = text;
        wrapped.replace(QLatin1Char('\n'), QChar::LineSeparator);
        QTextLayout layout(wrapped, PreparedReport::font(role));
        layout.setTextOption(wrapOption(Qt::AlignLeft));
        double height = 0;
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            height += line.height();
        }
        layout.endLayout();
        return qMax(height, m.height());
    }

private:
    std::array<std::unique_ptr<QFontMetricsF>, 4> m_metrics;
};

class Layouter
{
public:
    Layouter(const ReportContent &content, const QPageLayout &layout)
        : m_content(content)
    {
        const QRectF paint = layout.paintRect(QPageLayout::Point);
        m_width = paint.width() * 10;
        m_height = paint.height() * 10;
    }

    QList<PreparedReport::Page> run(const QDate &printDate)
    {
        const ReportTemplate &t = m_content.layout;
        m_bodyTop = m_measure.lineHeight(PreparedReport::Font::Title) + 2 * kGap;
        m_bodyBottom = m_height - m_measure.lineHeight(PreparedReport::Font::Footer) - 2 * kGap;
        Piece tableHead;
        if (t.isTable())
            tableHead = tableRow(t.table, nullptr, true);
        m_repeated = tableHead.texts.isEmpty() ? nullptr : &tableHead;
        newPage();
        for (const ReportRecord &record : m_content.records) {
            if (t.isTable()) {
                QList<Piece> one{tableRow(t.table, &record.cells, false)};
                place(one);
            } else {
                QList<Piece> block = recordBlock(record);
                place(block);
            }
        }
        addHeadersAndFooters(printDate);
        return m_pages;
    }

private:
    using Font = PreparedReport::Font;

    void newPage()
    {
        m_pages.append(PreparedReport::Page());
        m_y = m_bodyTop;
        if (m_repeated)
            put(*m_repeated);
    }

    bool pageIsEmpty() const { return m_y <= m_bodyTop + (m_repeated ? m_repeated->height : 0) + 0.5; }

    void put(const Piece &piece)
    {
        PreparedReport::Page &page = m_pages.last();
        for (PreparedReport::Text text : piece.texts) {
            text.rect.translate(0, m_y);
            page.texts << text;
        }
        for (const QLineF &rule : piece.rules)
            page.rules << rule.translated(0, m_y);
        m_y += piece.height;
    }

    void place(const QList<Piece> &pieces)
    {
        double total = 0;
        for (const Piece &p : pieces)
            total += p.height;
        if (m_y + total > m_bodyBottom && !pageIsEmpty())
            newPage();
        for (const Piece &p : pieces) {
            if (m_y + p.height > m_bodyBottom && !pageIsEmpty())
                newPage();
            put(p);
        }
    }

    // Labelled values in a grid of `columns`, flowing left to right.
    void addGrid(Piece &piece, const QList<ReportCell> &cells, int columns, double indent)
    {
        const double columnWidth = (m_width - indent) / columns;
        int column = 0;
        double rowHeight = 0;
        for (const ReportCell &cell : cells) {
            const int span = qMin(cell.span, columns);
            if (column + span > columns) {
                piece.height += rowHeight + kGap / 2;
                column = 0;
                rowHeight = 0;
            }
            const double x = indent + column * columnWidth;
            const double labelWidth = m_measure.width(Font::Body, cell.label);
            const double valueWidth = qMax(1.0, span * columnWidth - labelWidth - kGap);
            const double h = m_measure.height(Font::Body, cell.text, valueWidth);
            piece.texts << PreparedReport::Text{QRectF(x, piece.height, labelWidth, m_measure.lineHeight(Font::Body)),
                                                cell.label, Font::Body, Qt::AlignLeft | Qt::AlignTop};
            piece.texts << PreparedReport::Text{QRectF(x + labelWidth, piece.height, valueWidth, h), cell.text,
                                                Font::Body, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap};
            rowHeight = qMax(rowHeight, h);
            column += span;
        }
        if (column > 0)
            piece.height += rowHeight;
    }

    QList<Piece> recordBlock(const ReportRecord &record)
    {
        const ReportTemplate &t = m_content.layout;
        QList<Piece> pieces;
        Piece head;
        head.rules << QLineF(0, 0, m_width, 0);
        head.height = kGap;
        const QString numberLabel = QStringLiteral("编号：");
        const QString number = QString::number(record.number);
        const double headLine = m_measure.lineHeight(Font::Heading);
        const double labelWidth = m_measure.width(Font::Body, numberLabel);
        const double numberWidth = qMax(m_measure.width(Font::Body, number), 400.0);
        head.texts << PreparedReport::Text{QRectF(0, head.height, labelWidth, headLine), numberLabel, Font::Body,
                                           Qt::AlignLeft | Qt::AlignVCenter};
        head.texts << PreparedReport::Text{QRectF(labelWidth, head.height, numberWidth, headLine), number, Font::Body,
                                           Qt::AlignLeft | Qt::AlignVCenter};
        if (!t.heading.column.isEmpty()) {
            const double x = labelWidth + numberWidth + kGap;
            head.texts << PreparedReport::Text{QRectF(x, head.height, m_width - x, headLine), record.heading,
                                               Font::Heading, Qt::AlignLeft | Qt::AlignVCenter};
        }
        head.height += headLine + kGap / 2;
        addGrid(head, record.cells, t.columns, 0);
        head.height += kGap / 2;
        pieces << head;
        if (t.hasLines) {
            Piece caption;
            caption.height = kGap / 2;
            caption.texts << PreparedReport::Text{QRectF(0, caption.height, m_width, headLine), t.lines.heading,
                                                  Font::Heading, Qt::AlignLeft | Qt::AlignVCenter};
            caption.height += headLine + kGap / 2;
            pieces << caption;
            const double indent = 200;
            for (const QList<ReportCell> &line : record.lines) {
                Piece p;
                p.rules << QLineF(indent, 0, m_width, 0);
                p.height = kGap / 3;
                addGrid(p, line, t.lines.columns, indent);
                p.height += kGap / 2;
                pieces << p;
            }
            if (!record.total.label.isEmpty()) {
                Piece total;
                total.rules << QLineF(indent, 0, m_width, 0);
                total.height = kGap / 3;
                const double valueWidth = qMax(m_measure.width(Font::Heading, record.total.text), 1200.0);
                const double label = m_measure.width(Font::Heading, record.total.label);
                total.texts << PreparedReport::Text{
                    QRectF(m_width - valueWidth - label, total.height, label, headLine), record.total.label,
                    Font::Heading, Qt::AlignRight | Qt::AlignVCenter};
                total.texts << PreparedReport::Text{QRectF(m_width - valueWidth, total.height, valueWidth, headLine),
                                                    record.total.text, Font::Heading,
                                                    Qt::AlignLeft | Qt::AlignVCenter};
                total.height += headLine;
                pieces << total;
            }
        }
        pieces.last().height += kBlockSpace;
        return pieces;
    }

    // A line of a one-line-per-record report, or its headings (cells null).
    Piece tableRow(const QList<ReportField> &columns, const QList<ReportCell> *cells, bool headings)
    {
        double totalWidth = 0;
        for (const ReportField &c : columns)
            totalWidth += c.width;
        Piece row;
        const Font role = headings ? Font::Heading : Font::Body;
        double x = 0;
        double height = m_measure.lineHeight(role);
        QList<QRectF> rects;
        for (int i = 0; i < columns.size(); ++i) {
            const double w = m_width * columns.at(i).width / totalWidth;
            const QString text = headings ? columns.at(i).label : cells->value(i).text;
            const double h = m_measure.height(role, text, w - kGap);
            height = qMax(height, h);
            row.texts << PreparedReport::Text{QRectF(x + kGap / 2, kGap / 2, w - kGap, h), text, role,
                                              Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap};
            x += w;
        }
        row.height = height + kGap;
        if (headings)
            row.rules << QLineF(0, 0, m_width, 0);
        row.rules << QLineF(0, row.height, m_width, row.height);
        return row;
    }

    void addHeadersAndFooters(const QDate &printDate)
    {
        const int count = int(m_pages.size());
        const double titleLine = m_measure.lineHeight(Font::Title);
        const double footLine = m_measure.lineHeight(Font::Footer);
        const double footTop = m_height - footLine;
        for (int i = 0; i < count; ++i) {
            PreparedReport::Page &page = m_pages[i];
            page.texts.prepend(PreparedReport::Text{QRectF(0, 0, m_width, titleLine), m_content.layout.title,
                                                    Font::Title, Qt::AlignHCenter | Qt::AlignVCenter});
            page.rules << QLineF(0, titleLine + kGap, m_width, titleLine + kGap);
            page.rules << QLineF(0, footTop - kGap, m_width, footTop - kGap);
            page.texts << PreparedReport::Text{QRectF(0, footTop, m_width / 2, footLine),
                                               QStringLiteral("第%1页，共%2页").arg(i + 1).arg(count), Font::Footer,
                                               Qt::AlignLeft | Qt::AlignVCenter};
            page.texts << PreparedReport::Text{QRectF(m_width / 2, footTop, m_width / 2, footLine),
                                               QStringLiteral("打印日期：") + formatPrintDate(printDate),
                                               Font::Footer, Qt::AlignRight | Qt::AlignVCenter};
        }
    }

    const ReportContent &m_content;
    Measure m_measure;
    QList<PreparedReport::Page> m_pages;
    const Piece *m_repeated = nullptr;
    double m_width = 0;
    double m_height = 0;
    double m_bodyTop = 0;
    double m_bodyBottom = 0;
    double m_y = 0;
};

} // namespace

PreparedReport::PreparedReport(const ReportContent &content, const QPageLayout &pageLayout, const QDate &printDate)
    : m_pageLayout(pageLayout)
    , m_pages(Layouter(content, pageLayout).run(printDate))
{
}

QFont PreparedReport::font(Font role)
{
    QFont f(availableFontFamily(role == Font::Title ? QStringLiteral("华文新魏") : QStringLiteral("宋体")));
    // Sizes in layout units (decipoints), so that measuring does not depend on a screen.
    switch (role) {
    case Font::Title:
        f.setPixelSize(200);
        break;
    case Font::Heading:
        f.setPixelSize(110);
        f.setBold(true);
        break;
    case Font::Body:
        f.setPixelSize(100);
        break;
    case Font::Footer:
        f.setPixelSize(90);
        break;
    }
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QPageLayout PreparedReport::defaultPageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                       QPageLayout::Millimeter);
}

QStringList PreparedReport::pageTexts(int index) const
{
    QStringList texts;
    for (const Text &t : m_pages.at(index).texts)
        texts << t.text;
    return texts;
}

int PreparedReport::findPage(const QString &text, int from) const
{
    const int count = pageCount();
    if (text.isEmpty() || count == 0)
        return -1;
    from = qBound(0, from, count - 1);
    for (int k = 0; k < count; ++k) {
        const int i = (from + k) % count;
        for (const Text &t : m_pages.at(i).texts) {
            if (t.text.contains(text, Qt::CaseInsensitive))
                return i;
        }
    }
    return -1;
}

void PreparedReport::paintPage(QPainter &painter, int index, const QString &highlight) const
{
    const Page &p = m_pages.at(index);
    painter.save();
    const QPaintDevice *device = painter.device();
    painter.scale(device->logicalDpiX() / unitsPerInch, device->logicalDpiY() / unitsPerInch);
    if (!highlight.isEmpty()) {
        for (const Text &t : p.texts) {
            if (t.text.contains(highlight, Qt::CaseInsensitive))
                painter.fillRect(t.rect, QColor(255, 236, 130));
        }
    }
    painter.setPen(QPen(Qt::black, 4));
    for (const QLineF &rule : p.rules)
        painter.drawLine(rule);
    std::array<QFont, 4> fonts = {font(Font::Title), font(Font::Heading), font(Font::Body), font(Font::Footer)};
    int current = -1;
    for (const Text &t : p.texts) {
        if (t.text.isEmpty())
            continue;
        if (int(t.font) != current) {
            current = int(t.font);
            painter.setFont(fonts[size_t(current)]);
        }
        if (t.flags & Qt::TextWordWrap) {
            QString wrapped = t.text;
            wrapped.replace(QLatin1Char('\n'), QChar::LineSeparator);
            painter.drawText(t.rect, wrapped, wrapOption(Qt::Alignment(t.flags & (Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask))));
        } else {
            painter.drawText(t.rect, t.flags, t.text);
        }
    }
    painter.restore();
}

bool PreparedReport::print(QPagedPaintDevice *device) const
{
    QPainter painter;
    if (!painter.begin(device))
        return false;
    for (int i = 0; i < pageCount(); ++i) {
        if (i > 0)
            device->newPage();
        paintPage(painter, i);
    }
    return painter.end();
}

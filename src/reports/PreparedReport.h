#pragma once

#include <QDate>
#include <QFont>
#include <QLineF>
#include <QList>
#include <QPageLayout>
#include <QRectF>
#include <QStringList>

#include <array>

class QPagedPaintDevice;
class QPainter;
struct ReportContent;

// A report laid out on pages. Positions are in decipoints (1/720 inch) from
// the top left of the page's printable area, so the same pages paint on the
// preview, a printer or a PDF at any resolution.
class PreparedReport
{
public:
    enum class Font { Title, Heading, Body, Footer };

    struct Text
    {
        QRectF rect;
        QString text;
        Font font = Font::Body;
        int flags = 0; // Qt::AlignmentFlag | Qt::TextFlag
    };

    struct Page
    {
        QList<Text> texts;
        QList<QLineF> rules;
    };

    static constexpr double unitsPerInch = 720;

    PreparedReport() = default;
    // Lays out `content` on pages of `pageLayout`; the footers carry `printDate`.
    PreparedReport(const ReportContent &content, const QPageLayout &pageLayout, const QDate &printDate);

    int pageCount() const { return int(m_pages.size()); }
    const Page &page(int index) const { return m_pages.at(index); }
    // The texts of a page in reading order: header, records, footer.
    QStringList pageTexts(int index) const;
    // The first page from `from` on (wrapping round) whose texts contain `text`; -1 when none.
    int findPage(const QString &text, int from = 0) const;
    const QPageLayout &pageLayout() const { return m_pageLayout; }

    // Paints one page; texts containing `highlight` are marked.
    void paintPage(QPainter &painter, int index, const QString &highlight = QString()) const;
    // Paints every page on `device`, one device page each. False when the
    // device cannot be painted on.
    bool print(QPagedPaintDevice *device) const;

    static QFont font(Font role);
    // A4 upright with 15 mm margins, until the user's page setup says otherwise.
    static QPageLayout defaultPageLayout();

private:
    QPageLayout m_pageLayout;
    QList<Page> m_pages;
};

#include "ui/qt/MonitorView.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

#include "pages/PageView.h"

namespace zeb2hart::ui {

namespace {
constexpr int kMargin = 3;
}

MonitorView::MonitorView(QWidget* parent) : QAbstractScrollArea(parent)
{
    m_lines.push_back({QString(), qRgb(0, 0, 0)});
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAutoFillBackground(true);
    QPalette palette = viewport()->palette();
    palette.setColor(viewport()->backgroundRole(), Qt::white);
    viewport()->setPalette(palette);
    verticalScrollBar()->setSingleStep(1);
    updateMetrics();
}

void MonitorView::newLine(QRgb color)
{
    m_lines.push_back({QString(), color});
}

void MonitorView::appendLine(const QString& text, const QColor& color)
{
    // Follow the newest line only while the user looks at the end.
    if (!m_refreshPending)
        m_follow = isAtEnd();
    const QRgb rgb = color.rgb();
    newLine(rgb);
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        m_lines.back().text = text.mid(start, std::min<qsizetype>(i - start, pages::kMonitorLineLength));
        m_longestLine = std::max<int>(m_longestLine, static_cast<int>(m_lines.back().text.size()));
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        newLine(rgb);
        start = i + 1;
    }
    m_lines.back().text = text.mid(start, pages::kMonitorLineLength);
    m_longestLine = std::max<int>(m_longestLine, static_cast<int>(m_lines.back().text.size()));
    trim();
    scheduleRefresh();
}

void MonitorView::trim()
{
    if (m_lines.size() <= static_cast<std::size_t>(pages::kMonitorLineLimit))
        return;
    const int removed = static_cast<int>(m_lines.size()) - pages::kMonitorLineLimit + pages::kMonitorTrimBlock;
    m_lines.erase(m_lines.begin(), m_lines.begin() + removed);
    // The selection and the lines the user looks at move up with the text.
    m_anchor = m_anchor >= removed ? m_anchor - removed : -1;
    m_cursor = m_cursor >= removed ? m_cursor - removed : -1;
    if (m_anchor < 0 || m_cursor < 0)
        m_anchor = m_cursor = -1;
    if (!m_follow)
        verticalScrollBar()->setValue(std::max(0, verticalScrollBar()->value() - removed));
}

void MonitorView::clear()
{
    m_lines.clear();
    m_lines.shrink_to_fit();
    m_lines.push_back({QString(), qRgb(0, 0, 0)});
    m_longestLine = 0;
    m_anchor = m_cursor = -1;
    m_follow = true;
    refresh();
}

QString MonitorView::toPlainText() const
{
    qsizetype size = 0;
    for (const Line& line : m_lines)
        size += line.text.size() + 1;
    QString text;
    text.reserve(size);
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (i)
            text += u'\n';
        text += m_lines[i].text;
    }
    return text;
}

void MonitorView::selectLines(int first, int last)
{
    const int end = lineCount() - 1;
    m_anchor = std::clamp(first, 0, end);
    m_cursor = std::clamp(last, 0, end);
    viewport()->update();
}

int MonitorView::selectionStart() const
{
    return m_anchor < 0 ? -1 : std::min(m_anchor, m_cursor);
}

int MonitorView::selectionEnd() const
{
    return m_anchor < 0 ? -1 : std::max(m_anchor, m_cursor);
}

QString MonitorView::selectedText() const
{
    QString text;
    for (int i = selectionStart(); i >= 0 && i <= selectionEnd(); ++i) {
        if (i > selectionStart())
            text += u'\n';
        text += lineText(i);
    }
    return text;
}

int MonitorView::firstVisibleLine() const
{
    return verticalScrollBar()->value();
}

bool MonitorView::isAtEnd() const
{
    return verticalScrollBar()->value() >= verticalScrollBar()->maximum();
}

void MonitorView::scheduleRefresh()
{
    // Scroll bars and painting catch up once per turn of the event loop,
    // however many lines arrived in it.
    if (m_refreshPending)
        return;
    m_refreshPending = true;
    QTimer::singleShot(0, this, [this] { refresh(); });
}

void MonitorView::refresh()
{
    m_refreshPending = false;
    updateScrollBars();
    if (m_follow)
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    viewport()->update();
}

int MonitorView::visibleLineCount() const
{
    return std::max(1, (viewport()->height() - kMargin) / m_lineHeight);
}

void MonitorView::updateScrollBars()
{
    const int visible = visibleLineCount();
    verticalScrollBar()->setPageStep(visible);
    verticalScrollBar()->setRange(0, std::max(0, lineCount() - visible));
    const int width = 2 * kMargin + m_longestLine * m_charWidth;
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(m_charWidth * 2);
    horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
}

void MonitorView::updateMetrics()
{
    const QFontMetrics metrics(font());
    m_lineHeight = std::max(1, metrics.lineSpacing());
    m_charWidth = std::max(1, metrics.horizontalAdvance(QLatin1Char('M')));
    m_ascent = metrics.ascent();
}

int MonitorView::lineAt(int y) const
{
    return std::clamp(firstVisibleLine() + (y - kMargin) / m_lineHeight, 0, lineCount() - 1);
}

void MonitorView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.setFont(font());
    const int first = firstVisibleLine();
    const int last = std::min(lineCount() - 1, first + visibleLineCount());
    const int x = kMargin - horizontalScrollBar()->value();
    const int selectedFrom = selectionStart();
    const int selectedTo = selectionEnd();
    const QPalette& colours = palette();
    for (int line = first; line <= last; ++line) {
        const int top = kMargin + (line - first) * m_lineHeight;
        const Line& entry = m_lines[static_cast<std::size_t>(line)];
        const bool selected = line >= selectedFrom && line <= selectedTo && selectedFrom >= 0;
        if (selected) {
            painter.fillRect(QRect(0, top, viewport()->width(), m_lineHeight), colours.color(QPalette::Highlight));
            painter.setPen(colours.color(QPalette::HighlightedText));
        } else {
            painter.setPen(QColor::fromRgb(entry.color));
        }
        if (!entry.text.isEmpty())
            painter.drawText(x, top + m_ascent, entry.text);
    }
}

void MonitorView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    const bool atEnd = isAtEnd();
    updateScrollBars();
    if (atEnd)
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void MonitorView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    const int line = lineAt(event->position().toPoint().y());
    if (event->modifiers() & Qt::ShiftModifier && m_anchor >= 0)
        m_cursor = line;
    else
        m_anchor = m_cursor = line;
    viewport()->update();
}

void MonitorView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton) || m_anchor < 0)
        return QAbstractScrollArea::mouseMoveEvent(event);
    m_cursor = lineAt(event->position().toPoint().y());
    viewport()->update();
}

void MonitorView::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        if (selectionStart() >= 0)
            QApplication::clipboard()->setText(selectedText());
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        selectLines(0, lineCount() - 1);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Home:
        verticalScrollBar()->setValue(0);
        return;
    case Qt::Key_End:
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void MonitorView::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        updateMetrics();
        updateScrollBars();
        viewport()->update();
    }
}

} // namespace zeb2hart::ui

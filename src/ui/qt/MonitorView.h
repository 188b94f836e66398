#pragma once
// MonitorView: the monitor's view of coloured text lines, as many and as long
// as pages::kMonitorLineLimit and kMonitorLineLength allow. Appending costs the
// same whatever the view holds: lines are kept as text and colour and only the
// visible ones are painted, in a fixed-pitch font. The user can scroll, select
// whole lines with the mouse (Ctrl+A all) and copy them (Ctrl+C). Used on the
// GUI thread.

#include <QAbstractScrollArea>
#include <QColor>
#include <QString>

#include <deque>

namespace zeb2hart::ui {

class MonitorView final : public QAbstractScrollArea {
public:
    explicit MonitorView(QWidget* parent = nullptr);

    // Starts a new line at the end and writes `text` on it; each CR LF, CR or LF
    // in the text starts a further line. Every new line takes `color`.
    void appendLine(const QString& text, const QColor& color);
    // Back to one empty line.
    void clear();

    int lineCount() const { return static_cast<int>(m_lines.size()); }
    const QString& lineText(int line) const { return m_lines.at(static_cast<std::size_t>(line)).text; }
    QColor lineColor(int line) const { return QColor::fromRgb(m_lines.at(static_cast<std::size_t>(line)).color); }
    // All lines joined by "\n".
    QString toPlainText() const;

    // The selected lines, first to last (inclusive); nothing selected gives -1, -1.
    void selectLines(int first, int last);
    int selectionStart() const;
    int selectionEnd() const;
    QString selectedText() const;
    // The first line shown at the top.
    int firstVisibleLine() const;
    bool isAtEnd() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Line {
        QString text;
        QRgb color;
    };
    void newLine(QRgb color);
    // Drops the oldest lines past the view's limit.
    void trim();
    void scheduleRefresh();
    void refresh();
    void updateScrollBars();
    int visibleLineCount() const;
    int lineAt(int y) const;
    void updateMetrics();

    std::deque<Line> m_lines; // grows without moving what it holds
    int m_longestLine = 0; // characters
    int m_lineHeight = 1;
    int m_charWidth = 1;
    int m_ascent = 0;
    int m_anchor = -1;
    int m_cursor = -1;
    bool m_refreshPending = false;
    bool m_follow = true;
};

} // namespace zeb2hart::ui

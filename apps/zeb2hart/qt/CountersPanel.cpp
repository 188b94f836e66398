#include "CountersPanel.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <nlohmann/json.hpp>

#include "FrameTexts.h"

namespace zeb2hart::frame {

namespace {

QString number(const nlohmann::json& value)
{
    return QString::number(value.get<unsigned long long>());
}

QString latencyText(const nlohmann::json& latency)
{
    if (latency.is_null())
        return QStringLiteral("–");
    return QStringLiteral("%1 / %2 / %3")
        .arg(latency["least"].get<long long>())
        .arg(latency["mean"].get<double>(), 0, 'f', 1)
        .arg(latency["most"].get<long long>());
}

} // namespace

CountersPanel::CountersPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("countersPanel"));
    m_heading = new QLabel(this);
    m_heading->setObjectName(QStringLiteral("countersHeading"));
    m_table = new QTableWidget(0, 5, this);
    m_table->setObjectName(QStringLiteral("countersTable"));
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setMinimumHeight(150);
    m_totals = new QLabel(this);
    m_totals->setObjectName(QStringLiteral("countersTotals"));
    m_totals->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_totals);
    setLanguage(m_localeId);
}

void CountersPanel::setLanguage(std::int32_t localeId)
{
    m_localeId = localeId;
    QStringList headers;
    for (FrameText id : {FrameText::CountersCommand, FrameText::CountersRequests, FrameText::CountersAnswers,
                         FrameText::CountersErrors, FrameText::CountersLatency})
        headers << frameText(id, localeId);
    m_table->setHorizontalHeaderLabels(headers);
    refresh();
}

void CountersPanel::trafficSeen()
{
    if (m_refreshPending)
        return;
    m_refreshPending = true;
    QTimer::singleShot(0, this, [this] { refresh(); });
}

void CountersPanel::refresh()
{
    m_refreshPending = false;
    const std::string text = source ? source() : std::string();
    const nlohmann::json counters = text.empty() ? nlohmann::json::object() : nlohmann::json::parse(text);
    const nlohmann::json connections = counters.value("connections", nlohmann::json::array());
    m_table->setRowCount(0);
    if (connections.empty()) {
        m_heading->setText(frameText(FrameText::CountersNoConnection, m_localeId));
        m_totals->clear();
        return;
    }
    const nlohmann::json& current = connections.back();
    const std::string reference = current["communicationReference"];
    m_heading->setText(frameText(FrameText::CountersConnection, m_localeId)
                           .arg(QString::fromStdString(reference.empty() ? "–" : reference),
                                frameText(current["connected"].get<bool>() ? FrameText::CountersOpen
                                                                           : FrameText::CountersClosed,
                                          m_localeId))
                           .arg(connections.size() - 1));
    for (const auto& command : current["commands"]) {
        const int row = m_table->rowCount();
        m_table->insertRow(row);
        const QString cells[] = {QString::number(command["command"].get<int>()), number(command["requests"]),
                                 number(command["answers"]), number(command["errors"]),
                                 latencyText(command["latencyMs"])};
        for (int column = 0; column < 5; ++column)
            m_table->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    QStringList errors;
    for (const auto& [kind, count] : current["errorAnswers"].items())
        errors << QStringLiteral("%1 %2").arg(QString::fromStdString(kind), number(count));
    m_totals->setText(frameText(FrameText::CountersTotals, m_localeId)
                          .arg(number(current["requestsToParent"]), number(current["answersFromParent"]),
                               errors.isEmpty() ? frameText(FrameText::CountersNone, m_localeId)
                                                : errors.join(QStringLiteral(", ")),
                               number(current["unknownAnswers"]), number(current["refusedRequests"]),
                               number(current["timeoutBroadcasts"])));
}

QString CountersPanel::headingText() const
{
    return m_heading->text();
}

std::vector<std::string> CountersPanel::rows() const
{
    std::vector<std::string> rows;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < m_table->columnCount(); ++column)
            cells << m_table->item(row, column)->text();
        rows.push_back(cells.join(QStringLiteral(" | ")).toStdString());
    }
    return rows;
}

QString CountersPanel::totalsText() const
{
    return m_totals->text();
}

} // namespace zeb2hart::frame

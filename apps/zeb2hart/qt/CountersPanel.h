#pragma once
// The frame window's panel of the gateway's traffic and error counters: the
// current connection's row per HART command (requests, answers, errors,
// latency least / mean / most in ms) and its other counts, in the window's
// language. It reads the DTM's counters text once after traffic was seen
// (trafficSeen), from the event queue, not inside the call that caused it. GUI thread.

#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>

class QLabel;
class QTableWidget;

namespace zeb2hart::frame {

class CountersPanel final : public QWidget {
public:
    explicit CountersPanel(QWidget* parent = nullptr);

    // The DTM's counters as JSON text (HostedDtm::counters); empty without a session.
    std::function<std::string()> source;

    void setLanguage(std::int32_t localeId);
    // Something went between the peers and the gateway: refresh soon.
    void trafficSeen();
    // Reads the counters now.
    void refresh();

    // As shown: the heading, one row per command with its cells joined by " | ", the totals.
    QString headingText() const;
    std::vector<std::string> rows() const;
    QString totalsText() const;

private:
    std::int32_t m_localeId = 1033;
    bool m_refreshPending = false;
    QLabel* m_heading = nullptr;
    QTableWidget* m_table = nullptr;
    QLabel* m_totals = nullptr;
};

} // namespace zeb2hart::frame

#pragma once
// The frame window's panel of the simulated HART device DTM: connect and
// disconnect it through the gateway, send one of the HART commands the
// gateway serves (with request data prefilled as the demo sends it), and see
// each answer read as an engineer reads it and the identity command 0
// reported, in the window's language. GUI thread.

#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "FrameTexts.h"
#include "peers/HartDeviceDtm.h"
#include "peers/ZebDeviceModel.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QListWidget;

namespace zeb2hart::frame {

class HartPanel final : public QWidget {
public:
    // The commands offered, in this order.
    static const std::vector<int>& commandNumbers();

    explicit HartPanel(QWidget* parent = nullptr);

    // What the buttons ask for; each answers what the gateway returned.
    std::function<bool()> onConnect;
    std::function<bool()> onDisconnect;
    std::function<bool(int command, const std::vector<std::uint8_t>& data)> onSend;

    // The panel's texts in the language of the locale (1031 German, else English).
    void setLanguage(std::int32_t localeId);

    // The device model whose objects the prefilled telegrams read and whose object descriptions
    // the answers are read with.
    void setModel(const ZebDeviceModel& model);
    // Shows the child: its connection, each request sent and its answer, its identity.
    void showChild(const HartDeviceDtm* child);

    // The command chosen in the list; choosing one prefills its request data.
    void chooseCommand(int number);
    int chosenCommand() const;
    QString dataText() const;
    void setDataText(const QString& text);
    // The answers list as shown: one entry per request, its lines joined by " | ".
    std::vector<std::string> answerRows() const;
    QString identityText() const;
    QString connectionText() const;

    // As the Send button: the request data read from the field (hex, spaces
    // allowed); false with a reason shown when it is no hexadecimal text.
    bool send();

private:
    void commandChosen();
    void showHint();
    void refresh();
    QString text(FrameText id) const;

    struct Request {
        std::string invokeId;
        int command;
        std::string data;
        bool accepted;
    };

    ZebDeviceModel m_model;
    std::int32_t m_localeId = kEnglishLocale;
    const HartDeviceDtm* m_child = nullptr;
    std::vector<Request> m_requests;

    QGroupBox* m_connectionGroup;
    QGroupBox* m_commandGroup;
    QGroupBox* m_answersGroup;
    QLabel* m_commandLabel;
    QLabel* m_dataLabel;
    QLabel* m_childLabel;
    QLabel* m_connection;
    QPushButton* m_connect;
    QPushButton* m_disconnect;
    QComboBox* m_command;
    QLineEdit* m_data;
    QLabel* m_hint;
    QPushButton* m_send;
    QListWidget* m_answers;
    QLabel* m_identity;
};

} // namespace zeb2hart::frame

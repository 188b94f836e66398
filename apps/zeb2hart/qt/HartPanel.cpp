#include "HartPanel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QListWidget>
#include <QVBoxLayout>

#include "host/Topology.h"
#include "fdt/Errors.h"
#include "support/Conversions.h"

namespace zeb2hart::frame {

namespace {

QString hexText(const std::vector<std::uint8_t>& bytes)
{
    QString text;
    for (std::uint8_t byte : bytes) {
        if (!text.isEmpty())
            text += QLatin1Char(' ');
        text += QString::fromStdString(support::HexByte(byte));
    }
    return text;
}

QString commandTitle(int number)
{
    switch (number) {
    case 0:
        return QStringLiteral("0 – Read unique identifier");
    case 1:
        return QStringLiteral("1 – Read primary variable");
    case 59:
        return QStringLiteral("59 – Write number of response preambles");
    case 128:
        return QStringLiteral("128 – ZEB telegram");
    case 129:
        return QStringLiteral("129 – ZEB broadcast");
    case 131:
        return QStringLiteral("131 – Read delayed response");
    default:
        return QString::number(number);
    }
}

QString hex2(unsigned value)
{
    return QStringLiteral("0x") + QString::fromStdString(support::HexByte(static_cast<std::uint8_t>(value)));
}

} // namespace

const std::vector<int>& HartPanel::commandNumbers()
{
    static const std::vector<int> numbers = {0, 1, 59, 128, 129, 131};
    return numbers;
}

HartPanel::HartPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("hartPanel"));
    auto* layout = new QVBoxLayout(this);

    auto* connection = new QGroupBox(QStringLiteral("Connection"), this);
    auto* connectionLayout = new QVBoxLayout(connection);
    m_childLabel = new QLabel(connection);
    m_childLabel->setObjectName(QStringLiteral("lblChild"));
    m_connection = new QLabel(connection);
    m_connection->setObjectName(QStringLiteral("lblConnection"));
    m_connection->setWordWrap(true);
    auto* buttons = new QHBoxLayout();
    m_connect = new QPushButton(QStringLiteral("Connect"), connection);
    m_connect->setObjectName(QStringLiteral("btnConnect"));
    m_disconnect = new QPushButton(QStringLiteral("Disconnect"), connection);
    m_disconnect->setObjectName(QStringLiteral("btnDisconnect"));
    buttons->addWidget(m_connect);
    buttons->addWidget(m_disconnect);
    buttons->addStretch();
    connectionLayout->addWidget(m_childLabel);
    connectionLayout->addWidget(m_connection);
    connectionLayout->addLayout(buttons);
    layout->addWidget(connection);

    auto* command = new QGroupBox(QStringLiteral("HART command"), this);
    auto* form = new QFormLayout(command);
    m_command = new QComboBox(command);
    m_command->setObjectName(QStringLiteral("cmbCommand"));
    for (int number : commandNumbers())
        m_command->addItem(commandTitle(number), number);
    m_data = new QLineEdit(command);
    m_data->setObjectName(QStringLiteral("txtData"));
    m_data->setPlaceholderText(QStringLiteral("no data bytes"));
    m_data->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9A-Fa-f ]*")), m_data));
    m_hint = new QLabel(command);
    m_hint->setObjectName(QStringLiteral("lblCommandHint"));
    m_hint->setWordWrap(true);
    m_hint->setForegroundRole(QPalette::PlaceholderText);
    m_send = new QPushButton(QStringLiteral("Send"), command);
    m_send->setObjectName(QStringLiteral("btnSend"));
    auto* sendRow = new QHBoxLayout();
    sendRow->addWidget(m_data, 1);
    sendRow->addWidget(m_send);
    form->addRow(QStringLiteral("Command"), m_command);
    form->addRow(QStringLiteral("Data (hex)"), sendRow);
    form->addRow(QString(), m_hint);
    layout->addWidget(command);

    auto* answers = new QGroupBox(QStringLiteral("Answers"), this);
    auto* answersLayout = new QVBoxLayout(answers);
    m_answers = new QListWidget(answers);
    m_answers->setObjectName(QStringLiteral("lstAnswers"));
    m_answers->setAlternatingRowColors(true);
    m_answers->setWordWrap(true);
    m_answers->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_identity = new QLabel(answers);
    m_identity->setObjectName(QStringLiteral("lblIdentity"));
    m_identity->setWordWrap(true);
    m_identity->setTextInteractionFlags(Qt::TextSelectableByMouse);
    answersLayout->addWidget(m_answers, 1);
    answersLayout->addWidget(m_identity);
    layout->addWidget(answers, 1);

    connect(m_connect, &QPushButton::clicked, this, [this] {
        if (onConnect)
            onConnect();
        refresh();
    });
    connect(m_disconnect, &QPushButton::clicked, this, [this] {
        if (onDisconnect)
            onDisconnect();
        refresh();
    });
    connect(m_send, &QPushButton::clicked, this, [this] { send(); });
    connect(m_data, &QLineEdit::returnPressed, this, [this] {
        if (m_send->isEnabled())
            send();
    });
    connect(m_command, &QComboBox::currentIndexChanged, this, [this] { commandChosen(); });
    commandChosen();
    refresh();
}

void HartPanel::setModel(const ZebDeviceModel& model)
{
    m_model = model;
    commandChosen();
}

void HartPanel::showChild(const HartDeviceDtm* child)
{
    if (child != m_child)
        m_requests.clear();
    m_child = child;
    refresh();
}

void HartPanel::chooseCommand(int number)
{
    const int position = m_command->findData(number);
    if (position >= 0)
        m_command->setCurrentIndex(position);
}

int HartPanel::chosenCommand() const
{
    return m_command->currentData().toInt();
}

QString HartPanel::dataText() const
{
    return m_data->text();
}

void HartPanel::setDataText(const QString& text)
{
    m_data->setText(text);
}

void HartPanel::commandChosen()
{
    const auto request = demoCommand(chosenCommand(), m_model);
    m_data->setText(request ? hexText(request->data) : QString());
    QString hint = request ? QString::fromStdString(request->what) : QString();
    if (!hint.isEmpty())
        hint[0] = hint[0].toUpper();
    m_hint->setText(hint);
}

bool HartPanel::send()
{
    std::string digits = m_data->text().toStdString();
    std::erase(digits, ' ');
    std::vector<std::uint8_t> data;
    bool readable = digits.size() % 2 == 0;
    try {
        if (readable)
            data = support::HexToByteArray(digits);
    } catch (const fdt::Error&) {
        readable = false;
    }
    if (!readable) {
        m_hint->setText(QStringLiteral("The data must be hexadecimal bytes, two digits each (e.g. 36 B2 20 00 00)."));
        return false;
    }
    const int command = chosenCommand();
    const bool accepted = onSend && onSend(command, data);
    m_requests.push_back({m_child ? m_child->lastInvokeId() : std::string(), command, support::ByteArrayToHex(data),
                          accepted});
    refresh();
    return accepted;
}

void HartPanel::refresh()
{
    const bool connected = m_child && m_child->connected();
    if (m_child) {
        m_childLabel->setText(QStringLiteral("HART device DTM %1, short address %2")
                                  .arg(QString::fromStdString(m_child->tag()))
                                  .arg(m_child->shortAddress()));
    } else {
        m_childLabel->setText(QStringLiteral("No HART device DTM attached"));
    }
    if (connected) {
        m_connection->setText(QStringLiteral("Connected, communication reference %1")
                                  .arg(QString::fromStdString(m_child->communicationReference())));
    } else if (m_child && m_child->aborted()) {
        m_connection->setText(QStringLiteral("Disconnected: the connection was aborted"));
    } else {
        m_connection->setText(QStringLiteral("Disconnected"));
    }
    m_connect->setEnabled(m_child && !connected);
    m_disconnect->setEnabled(connected);
    m_send->setEnabled(connected);

    m_answers->clear();
    for (const Request& request : m_requests) {
        QString response;
        QString data;
        if (!request.accepted) {
            response = QStringLiteral("refused by the gateway");
        } else if (const HartAnswer* answer = m_child ? m_child->answerTo(request.invokeId) : nullptr) {
            if (answer->communicationError) {
                response = QStringLiteral("communication error %1").arg(QString::fromStdString(answer->errorName));
            } else {
                response = QStringLiteral("%1 (%2)")
                               .arg(answer->responseCode)
                               .arg(QString::fromStdString(
                                   responseCodeMeaning(static_cast<std::uint8_t>(answer->responseCode))));
                data = answer->data.empty() ? QStringLiteral("no data") : QStringLiteral("data ") + hexText(answer->data);
            }
        } else {
            response = QStringLiteral("waiting for the answer");
        }
        QString entry = QStringLiteral("Command %1 → %2").arg(request.command).arg(response);
        if (!data.isEmpty())
            entry += QLatin1Char('\n') + data;
        auto* item = new QListWidgetItem(entry, m_answers);
        item->setToolTip(QStringLiteral("Invoke identifier %1").arg(QString::fromStdString(request.invokeId)));
    }
    // Once the wrapped entries are laid out.
    QMetaObject::invokeMethod(m_answers, &QListWidget::scrollToBottom, Qt::QueuedConnection);

    QString identity;
    if (m_child && m_child->identity()) {
        const HartIdentity& id = *m_child->identity();
        identity = QStringLiteral("Identity (command 0): manufacturer %1, device type %2, device id 0x%3; revisions: "
                                  "universal %4, transmitter %5, software %6, hardware %7; %8 preambles")
                       .arg(hex2(id.manufacturerId), hex2(id.deviceType),
                            QStringLiteral("%1").arg(id.deviceId, 6, 16, QLatin1Char('0')).toUpper())
                       .arg(id.universalRevision)
                       .arg(id.transmitterRevision)
                       .arg(id.softwareRevision)
                       .arg(id.hardwareRevision)
                       .arg(id.preambles);
    } else {
        identity = QStringLiteral("Identity: not read yet (send command 0)");
    }
    m_identity->setText(identity);
}

std::vector<std::string> HartPanel::answerRows() const
{
    std::vector<std::string> rows;
    for (int i = 0; i < m_answers->count(); ++i)
        rows.push_back(m_answers->item(i)->text().replace(QLatin1Char('\n'), QStringLiteral(" | ")).toStdString());
    return rows;
}

QString HartPanel::identityText() const
{
    return m_identity->text();
}

QString HartPanel::connectionText() const
{
    return m_connection->text();
}

} // namespace zeb2hart::frame

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

#include "FrameTexts.h"
#include "host/Topology.h"
#include "peers/HartAnswerDecoder.h"
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

// The list's title and the hint of each command offered, in the list's order.
struct CommandTexts {
    int number;
    FrameText title;
    FrameText hint;
};
constexpr CommandTexts kCommands[] = {
    {0, FrameText::Command0, FrameText::Hint0},       {1, FrameText::Command1, FrameText::Hint1},
    {59, FrameText::Command59, FrameText::Hint59},    {128, FrameText::Command128, FrameText::Hint128},
    {129, FrameText::Command129, FrameText::Hint129}, {131, FrameText::Command131, FrameText::Hint131},
};

} // namespace

const std::vector<int>& HartPanel::commandNumbers()
{
    static const std::vector<int> numbers = [] {
        std::vector<int> result;
        for (const CommandTexts& command : kCommands)
            result.push_back(command.number);
        return result;
    }();
    return numbers;
}

HartPanel::HartPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("hartPanel"));
    auto* layout = new QVBoxLayout(this);

    auto* connection = new QGroupBox(this);
    auto* connectionLayout = new QVBoxLayout(connection);
    m_childLabel = new QLabel(connection);
    m_childLabel->setObjectName(QStringLiteral("lblChild"));
    m_connection = new QLabel(connection);
    m_connection->setObjectName(QStringLiteral("lblConnection"));
    m_connection->setWordWrap(true);
    auto* buttons = new QHBoxLayout();
    m_connect = new QPushButton(connection);
    m_connect->setObjectName(QStringLiteral("btnConnect"));
    m_disconnect = new QPushButton(connection);
    m_disconnect->setObjectName(QStringLiteral("btnDisconnect"));
    buttons->addWidget(m_connect);
    buttons->addWidget(m_disconnect);
    buttons->addStretch();
    connectionLayout->addWidget(m_childLabel);
    connectionLayout->addWidget(m_connection);
    connectionLayout->addLayout(buttons);
    layout->addWidget(connection);

    auto* command = new QGroupBox(this);
    auto* form = new QFormLayout(command);
    m_command = new QComboBox(command);
    m_command->setObjectName(QStringLiteral("cmbCommand"));
    for (const CommandTexts& entry : kCommands)
        m_command->addItem(QString(), entry.number);
    m_data = new QLineEdit(command);
    m_data->setObjectName(QStringLiteral("txtData"));
    m_data->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9A-Fa-f ]*")), m_data));
    m_hint = new QLabel(command);
    m_hint->setObjectName(QStringLiteral("lblCommandHint"));
    m_hint->setWordWrap(true);
    m_hint->setForegroundRole(QPalette::PlaceholderText);
    m_send = new QPushButton(command);
    m_send->setObjectName(QStringLiteral("btnSend"));
    auto* sendRow = new QHBoxLayout();
    sendRow->addWidget(m_data, 1);
    sendRow->addWidget(m_send);
    m_commandLabel = new QLabel(command);
    m_dataLabel = new QLabel(command);
    form->addRow(m_commandLabel, m_command);
    form->addRow(m_dataLabel, sendRow);
    form->addRow(QString(), m_hint);
    layout->addWidget(command);

    auto* answers = new QGroupBox(this);
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
    m_connectionGroup = connection;
    m_commandGroup = command;
    m_answersGroup = answers;
    setLanguage(m_localeId);
    commandChosen();
}

void HartPanel::setLanguage(std::int32_t localeId)
{
    m_localeId = localeId;
    m_connectionGroup->setTitle(text(FrameText::GroupConnection));
    m_connect->setText(text(FrameText::ButtonConnect));
    m_disconnect->setText(text(FrameText::ButtonDisconnect));
    m_commandGroup->setTitle(text(FrameText::GroupCommand));
    m_commandLabel->setText(text(FrameText::LabelCommand));
    m_dataLabel->setText(text(FrameText::LabelData));
    m_data->setPlaceholderText(text(FrameText::NoDataBytes));
    m_send->setText(text(FrameText::ButtonSend));
    m_answersGroup->setTitle(text(FrameText::GroupAnswers));
    for (int i = 0; i < m_command->count(); ++i)
        m_command->setItemText(i, text(kCommands[i].title));
    showHint();
    refresh();
}

QString HartPanel::text(FrameText id) const
{
    return frameText(id, m_localeId);
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
    showHint();
}

void HartPanel::showHint()
{
    const int number = chosenCommand();
    for (const CommandTexts& command : kCommands) {
        if (command.number != number)
            continue;
        QString hint = text(command.hint);
        if (command.hint == FrameText::Hint128) // the object the prefilled telegram reads
            hint = hint.arg(QStringLiteral("%1.%2").arg(m_model.demoObjectNo).arg(m_model.demoSubNo));
        m_hint->setText(hint);
    }
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
        m_hint->setText(text(FrameText::DataNotHex));
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
        m_childLabel->setText(text(FrameText::ChildAttached)
                                  .arg(QString::fromStdString(m_child->tag()))
                                  .arg(m_child->shortAddress()));
    } else {
        m_childLabel->setText(text(FrameText::NoChild));
    }
    if (connected) {
        m_connection->setText(text(FrameText::ConnectedReference)
                                  .arg(QString::fromStdString(m_child->communicationReference())));
    } else if (m_child && m_child->aborted()) {
        m_connection->setText(text(FrameText::Aborted));
    } else {
        m_connection->setText(text(FrameText::Disconnected));
    }
    m_connect->setEnabled(m_child && !connected);
    m_disconnect->setEnabled(connected);
    m_send->setEnabled(connected);

    m_answers->clear();
    for (const Request& request : m_requests) {
        QString response;
        QString data;
        if (!request.accepted) {
            response = text(FrameText::Refused);
        } else if (const HartAnswer* answer = m_child ? m_child->answerTo(request.invokeId) : nullptr) {
            if (answer->communicationError) {
                response = text(FrameText::CommunicationError).arg(QString::fromStdString(answer->errorName));
            } else {
                response = QStringLiteral("%1 (%2)")
                               .arg(answer->responseCode)
                               .arg(QString::fromStdString(
                                   responseCodeMeaning(static_cast<std::uint8_t>(answer->responseCode))));
                data = answer->data.empty() ? text(FrameText::NoData)
                                            : text(FrameText::AnswerData).arg(hexText(answer->data));
                // The identity of command 0 has its own line below the list.
                if (request.command != 0) {
                    const std::string decoded = answerDataText(request.command, answer->data, m_model);
                    if (!decoded.empty())
                        data += QLatin1Char('\n') + QString::fromStdString(decoded);
                }
            }
        } else {
            response = text(FrameText::WaitingForAnswer);
        }
        QString entry = text(FrameText::AnswerRow).arg(request.command).arg(response);
        if (!data.isEmpty())
            entry += QLatin1Char('\n') + data;
        auto* item = new QListWidgetItem(entry, m_answers);
        item->setToolTip(text(FrameText::InvokeIdTip).arg(QString::fromStdString(request.invokeId)));
    }
    // Once the wrapped entries are laid out.
    QMetaObject::invokeMethod(m_answers, &QListWidget::scrollToBottom, Qt::QueuedConnection);

    const QString identity =
        m_child && m_child->identity()
            ? text(FrameText::IdentityRead).arg(QString::fromStdString(frame::identityText(*m_child->identity())))
            : text(FrameText::IdentityNotRead);
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

#include "ui/qt/QtServices.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

#include <memory>
#include <vector>

namespace zeb2hart::ui {

namespace {

const QString kCaption = QStringLiteral("ZEB2HARTGateway");

std::vector<std::string> splitAtBars(const std::string& text)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = text.find('|', start);
        parts.push_back(text.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos)
            return parts;
        start = bar + 1;
    }
}

} // namespace

void QtMessageBox::show(const std::string& text, Icon icon)
{
    QMessageBox::Icon qtIcon = QMessageBox::Information;
    if (icon == Icon::Exclamation)
        qtIcon = QMessageBox::Warning;
    else if (icon == Icon::Critical)
        qtIcon = QMessageBox::Critical;
    QMessageBox box(qtIcon, kCaption, QString::fromStdString(text), QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

std::optional<std::string> QtFileDialog::askSaveFileName(const std::string& filter, bool promptOverwrite)
{
    QFileDialog::Options options;
    if (!promptOverwrite)
        options |= QFileDialog::DontConfirmOverwrite;
    const QString fileName = QFileDialog::getSaveFileName(QApplication::activeWindow(), QString(), QString(),
                                                          QString::fromStdString(qtNameFilter(filter)),
                                                          nullptr, options);
    if (fileName.isEmpty())
        return std::nullopt;
    return fileName.toStdString();
}

void QtShell::open(const std::string& address)
{
    QDesktopServices::openUrl(QUrl::fromUserInput(QString::fromStdString(address)));
}

std::string qtNameFilter(const std::string& filter)
{
    const std::vector<std::string> parts = splitAtBars(filter);
    std::string result;
    for (std::size_t i = 0; i < parts.size(); i += 2) {
        std::string description = parts[i];
        const std::string pattern = i + 1 < parts.size() ? parts[i + 1] : std::string();
        if (description.empty() && pattern.empty())
            continue;
        // Qt reads the patterns from the parentheses of the description.
        if (description.find('(') == std::string::npos && !pattern.empty())
            description += " (" + pattern + ")";
        if (!result.empty())
            result += ";;";
        result += description;
    }
    return result;
}

platform::Services qtDialogServices()
{
    platform::Services services;
    services.messageBox = std::make_shared<QtMessageBox>();
    services.fileDialog = std::make_shared<QtFileDialog>();
    services.shell = std::make_shared<QtShell>();
    return services;
}

} // namespace zeb2hart::ui

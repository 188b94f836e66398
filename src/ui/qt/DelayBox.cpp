#include "ui/qt/DelayBox.h"

#include <QKeyEvent>

#include <optional>

#include "pages/OfflineParamLogic.h"

namespace zeb2hart::ui {

namespace {

// The character a key press types, if it types one. Delete types nothing here
// even where the platform attaches DEL to it.
std::optional<char32_t> typedCharacter(const QKeyEvent& event)
{
    if (event.text().isEmpty() || event.key() == Qt::Key_Delete)
        return std::nullopt;
    return static_cast<char32_t>(event.text().toUcs4().value(0));
}

} // namespace

DelayBox::DelayBox(QWidget* parent) : QLineEdit(parent)
{
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
}

void DelayBox::keyPressEvent(QKeyEvent* event)
{
    const std::optional<char32_t> character = typedCharacter(*event);
    if (character && !pages::isDelayCharacterAccepted(*character)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void DelayBox::keyReleaseEvent(QKeyEvent* event)
{
    QLineEdit::keyReleaseEvent(event);
    if (onKeyReleased)
        onKeyReleased();
}

} // namespace zeb2hart::ui

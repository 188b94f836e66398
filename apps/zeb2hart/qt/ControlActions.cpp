#include "ControlActions.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

#include <map>

#include "scripts/KeySequence.h"
#include "ui/qt/MonitorView.h"
#include "ui/qt/PictureBox.h"

namespace zeb2hart::frame {

namespace {

void requireEnabled(const QWidget& control)
{
    if (!control.isEnabled())
        throw PageError("the control " + control.objectName().toStdString() + " is disabled");
}

struct Key {
    int code;
    QString text;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

// The Qt key event of a stroke: a named key's code, a character's (Qt's codes
// of the printable Latin-1 characters are their upper-case code points), and
// the text it types; a shortcut (Ctrl or Alt held) types nothing, Shift types
// upper case, and Shift+Tab is Backtab, as the keyboard reports it.
Key keyOf(const KeyStroke& stroke)
{
    static const std::map<std::string, int> named = {
        {"Backspace", Qt::Key_Backspace}, {"Delete", Qt::Key_Delete}, {"Left", Qt::Key_Left},
        {"Right", Qt::Key_Right},         {"Home", Qt::Key_Home},     {"End", Qt::Key_End},
        {"Enter", Qt::Key_Return},        {"Tab", Qt::Key_Tab},       {"Escape", Qt::Key_Escape}};
    const char32_t character = stroke.character == U'\n' ? U'\r' : stroke.character;
    Key key{0, character != 0 ? QString::fromUcs4(&character, 1) : QString()};
    if (const auto found = named.find(stroke.name); found != named.end())
        key.code = found->second;
    else if (character == U'\t' || character == U'\r')
        key.code = character == U'\t' ? Qt::Key_Tab : Qt::Key_Return;
    else
        key.code = static_cast<int>(QChar::toUpper(character));
    if (stroke.ctrl)
        key.modifiers |= Qt::ControlModifier;
    if (stroke.shift)
        key.modifiers |= Qt::ShiftModifier;
    if (stroke.alt)
        key.modifiers |= Qt::AltModifier;
    if (stroke.ctrl || stroke.alt)
        key.text.clear();
    else if (stroke.shift && key.code == Qt::Key_Tab)
        key = {Qt::Key_Backtab, {}, key.modifiers};
    else if (stroke.shift)
        key.text = key.text.toUpper();
    return key;
}

} // namespace

QWidget& findControl(QWidget& root, const std::string& name)
{
    const QString wanted = QString::fromStdString(name);
    if (root.objectName() == wanted)
        return root;
    if (QWidget* found = root.findChild<QWidget*>(wanted))
        return *found;
    throw PageError("no control " + name + " on " + root.objectName().toStdString());
}

Json controlState(const QWidget& control)
{
    Json state = Json::object();
    if (const auto* box = qobject_cast<const QCheckBox*>(&control)) {
        state["kind"] = "checkbox";
        state["text"] = box->text().toStdString();
        state["checked"] = box->isChecked();
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) {
        state["kind"] = "button";
        state["text"] = button->text().toStdString();
    } else if (const auto* combo = qobject_cast<const QComboBox*>(&control)) {
        state["kind"] = "combo";
        state["text"] = combo->currentText().toStdString();
        state["index"] = combo->currentIndex();
        Json items = Json::array();
        for (int i = 0; i < combo->count(); ++i)
            items.push_back(combo->itemText(i).toStdString());
        state["items"] = items;
    } else if (const auto* edit = qobject_cast<const QLineEdit*>(&control)) {
        state["kind"] = "textbox";
        state["text"] = edit->text().toStdString();
    } else if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        state["kind"] = "label";
        state["text"] = label->text().toStdString();
    } else if (const auto* view = dynamic_cast<const ui::MonitorView*>(&control)) {
        state["kind"] = "monitor";
        state["text"] = view->toPlainText().toStdString();
        state["lines"] = view->lineCount();
    } else if (const auto* picture = dynamic_cast<const ui::PictureBox*>(&control)) {
        state["kind"] = "picture";
        state["picture"] = picture->source().filename().string();
    } else {
        state["kind"] = "panel";
    }
    state["enabled"] = control.isEnabled();
    state["visible"] = control.isVisible();
    return state;
}

void clickControl(QWidget& control)
{
    requireEnabled(control);
    if (auto* button = qobject_cast<QAbstractButton*>(&control)) {
        // Pressed and released over the button: the signals of a click, a check box toggled.
        button->click();
        return;
    }
    const QPointF middle = QRectF(control.rect()).center();
    const QPointF global = control.mapToGlobal(middle);
    QMouseEvent press(QEvent::MouseButtonPress, middle, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&control, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, middle, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&control, &release);
}

void selectEntry(QWidget& control, const std::optional<int>& index, const std::optional<std::string>& text)
{
    auto* combo = qobject_cast<QComboBox*>(&control);
    if (!combo)
        throw PageError("the control " + control.objectName().toStdString() + " is no combo box");
    requireEnabled(control);
    int position = -1;
    if (index) {
        if (*index < 0 || *index >= combo->count())
            throw PageError("the combo box " + control.objectName().toStdString() + " has no entry " +
                            std::to_string(*index) + " (it has " + std::to_string(combo->count()) + ")");
        position = *index;
    } else if (text) {
        position = combo->findText(QString::fromStdString(*text), Qt::MatchExactly);
        if (position < 0)
            throw PageError("the combo box " + control.objectName().toStdString() + " has no entry \"" + *text + "\"");
    }
    // As a user chooses from the list: the entry becomes the list's current one and Enter takes it. The
    // combo box's own list handling then selects it and reports the choice (activated), also for the
    // entry already selected. The list is not shown: offscreen, a popup cannot take the keyboard.
    QAbstractItemView* list = combo->view();
    list->setCurrentIndex(combo->model()->index(position, combo->modelColumn(), combo->rootModelIndex()));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(list, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(list, &release);
    if (combo->currentIndex() != position)
        throw PageError("the combo box " + control.objectName().toStdString() + " did not take the entry " +
                        std::to_string(position));
}

void typeKeys(QWidget& control, const std::string& keys)
{
    requireEnabled(control);
    const std::vector<KeyStroke> strokes = parseKeySequence(keys);
    control.setFocus(Qt::OtherFocusReason);
    for (const KeyStroke& stroke : strokes) {
        const Key key = keyOf(stroke);
        QKeyEvent press(QEvent::KeyPress, key.code, key.modifiers, key.text);
        QCoreApplication::sendEvent(&control, &press);
        QKeyEvent release(QEvent::KeyRelease, key.code, key.modifiers, key.text);
        QCoreApplication::sendEvent(&control, &release);
    }
}

void pasteText(QWidget& control, const std::string& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        throw PageError("this Qt platform has no clipboard to paste from");
    clipboard->setText(QString::fromStdString(text));
    typeKeys(control, "{Ctrl+V}");
}

Json lineColors(const QWidget& control)
{
    const auto* view = dynamic_cast<const ui::MonitorView*>(&control);
    if (!view)
        throw PageError("\"colors\" reads the lines of the monitor view, and " + control.objectName().toStdString() +
                        " is none");
    Json colors = Json::array();
    for (int line = 0; line < view->lineCount(); ++line) {
        const QColor color = view->lineColor(line);
        // The monitor's colours are Windows colours, 0x00BBGGRR.
        colors.push_back(colorName(static_cast<std::int32_t>((color.blue() << 16) | (color.green() << 8) | color.red())));
    }
    return colors;
}

} // namespace zeb2hart::frame

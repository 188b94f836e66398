#include "ControlActions.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

#include <map>

#include "ui/MonitorView.h"
#include "ui/PictureBox.h"

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
};

Key keyOfCharacter(QChar character)
{
    switch (character.unicode()) {
    case '\b':
        return {Qt::Key_Backspace, QStringLiteral("\b")};
    case '\t':
        return {Qt::Key_Tab, QStringLiteral("\t")};
    case '\r':
    case '\n':
        return {Qt::Key_Return, QStringLiteral("\r")};
    default:
        // Qt's key codes of the printable Latin-1 characters are their upper-case code points.
        return {static_cast<int>(character.toUpper().unicode()), QString(character)};
    }
}

Key keyOfName(const std::string& name)
{
    static const std::map<std::string, Key> named = {
        {"Backspace", {Qt::Key_Backspace, QStringLiteral("\b")}},
        {"Delete", {Qt::Key_Delete, QString(QChar(0x7F))}},
        {"Left", {Qt::Key_Left, {}}},
        {"Right", {Qt::Key_Right, {}}},
        {"Home", {Qt::Key_Home, {}}},
        {"End", {Qt::Key_End, {}}},
        {"Enter", {Qt::Key_Return, QStringLiteral("\r")}},
        {"Tab", {Qt::Key_Tab, QStringLiteral("\t")}},
        {"Escape", {Qt::Key_Escape, QString(QChar(0x1B))}},
    };
    const auto found = named.find(name);
    if (found == named.end())
        throw PageError("unknown key {" + name +
                        "} (known: Backspace, Delete, Left, Right, Home, End, Enter, Tab, Escape)");
    return found->second;
}

std::vector<Key> parseKeys(const std::string& keys)
{
    std::vector<Key> parsed;
    const QString text = QString::fromStdString(keys);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('{')) {
            const qsizetype end = text.indexOf(QLatin1Char('}'), i);
            if (end < 0)
                throw PageError("unterminated { in the keys \"" + keys + "\"");
            parsed.push_back(keyOfName(text.mid(i + 1, end - i - 1).toStdString()));
            i = end;
        } else {
            parsed.push_back(keyOfCharacter(text[i]));
        }
    }
    return parsed;
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
    const std::vector<Key> parsed = parseKeys(keys);
    control.setFocus(Qt::OtherFocusReason);
    for (const Key& key : parsed) {
        QKeyEvent press(QEvent::KeyPress, key.code, Qt::NoModifier, key.text);
        QCoreApplication::sendEvent(&control, &press);
        QKeyEvent release(QEvent::KeyRelease, key.code, Qt::NoModifier, key.text);
        QCoreApplication::sendEvent(&control, &release);
    }
}

} // namespace zeb2hart::frame

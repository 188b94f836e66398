#pragma once
// Acting on a page's controls as a user does, by object name: clicking a
// button, check box or picture, choosing a combo box entry, typing keys, and
// reading what a control shows. Used by frame scripts and the frame window's
// tests.

#include <QWidget>

#include <string>

#include "scripts/ScriptPages.h"
#include "transcript/Transcript.h"

namespace zeb2hart::frame {

// The child widget of `root` with that object name; throws PageError when
// there is none.
QWidget& findControl(QWidget& root, const std::string& name);

// What the control shows: {"kind", "text", "enabled", "visible", ...}: "checked"
// for a check box, "items" and "index" for a combo box, "lines" for the
// monitor view, "picture" (the file name) for a picture.
Json controlState(const QWidget& control);

// A mouse click: a button's or check box's click, a press and release in the
// middle of any other control. Throws PageError for a disabled control.
void clickControl(QWidget& control);
// Chooses the combo box entry at `index`, or the one with that text.
void selectEntry(QWidget& control, const std::optional<int>& index, const std::optional<std::string>& text);
// Presses and releases each key: characters as typed, "\b" Backspace, and
// {Backspace}, {Delete}, {Left}, {Right}, {Home}, {End}, {Enter}, {Tab}, {Escape}.
// {Ctrl+A}, {Shift+Tab}, {Ctrl+Shift+End}: a key or character with Ctrl, Shift or Alt held.
void typeKeys(QWidget& control, const std::string& keys);
// Puts `text` on the clipboard and pastes it with Ctrl+V, as a user does.
void pasteText(QWidget& control, const std::string& text);
// The colour of each line of the monitor view ("green", "red", "blue", "black"
// or "0x00BBGGRR"); PageError for any other control.
Json lineColors(const QWidget& control);

} // namespace zeb2hart::frame

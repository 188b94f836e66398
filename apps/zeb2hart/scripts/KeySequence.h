#pragma once
// The keys of a script's "type" step, read once into key strokes that any
// toolkit's pages can press: characters as typed, "\b" Backspace, and named
// keys in braces ({Backspace}, {Delete}, {Left}, {Right}, {Home}, {End},
// {Enter}, {Tab}, {Escape}), each optionally with Ctrl, Shift or Alt held
// ({Ctrl+A}, {Shift+Tab}, {Ctrl+Shift+End}). Pure functions.

#include <string>
#include <vector>

namespace zeb2hart::frame {

struct KeyStroke {
    // A named key ("Delete"); empty for a character.
    std::string name;
    // The character typed (UTF-32); for a named key the character it types, if any
    // ('\b' Backspace, '\t' Tab, '\r' Enter, 0x1B Escape, 0x7F Delete, else 0).
    char32_t character = 0;
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
};

// Throws PageError for an unknown key or modifier and an unterminated brace.
std::vector<KeyStroke> parseKeySequence(const std::string& keys);

} // namespace zeb2hart::frame

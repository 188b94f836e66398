#include "scripts/KeySequence.h"

#include <map>

#include "scripts/ScriptPages.h"

namespace zeb2hart::frame {

namespace {

const std::map<std::string, char32_t>& namedKeys()
{
    static const std::map<std::string, char32_t> named = {
        {"Backspace", U'\b'}, {"Delete", 0x7F}, {"Left", 0},     {"Right", 0},      {"Home", 0},
        {"End", 0},           {"Enter", U'\r'}, {"Tab", U'\t'}, {"Escape", 0x1B},
    };
    return named;
}

KeyStroke namedKey(const std::string& name)
{
    const auto found = namedKeys().find(name);
    if (found == namedKeys().end())
        throw PageError("unknown key {" + name +
                        "} (known: Backspace, Delete, Left, Right, Home, End, Enter, Tab, Escape)");
    return {name, found->second};
}

// The next UTF-8 character of `text` at `at`, moving `at` past it.
char32_t nextCharacter(const std::string& text, std::size_t& at)
{
    const auto byte = static_cast<unsigned char>(text[at++]);
    int extra = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
    char32_t character = extra == 3 ? byte & 0x07 : extra == 2 ? byte & 0x0F : extra == 1 ? byte & 0x1F : byte;
    for (; extra > 0 && at < text.size(); --extra)
        character = (character << 6) | (static_cast<unsigned char>(text[at++]) & 0x3F);
    return character;
}

KeyStroke characterKey(char32_t character)
{
    if (character == U'\b')
        return {"Backspace", character};
    return {{}, character};
}

KeyStroke keyWithModifiers(const std::string& name)
{
    KeyStroke held;
    std::string rest = name;
    for (auto plus = rest.find('+'); plus != std::string::npos && plus + 1 < rest.size(); plus = rest.find('+')) {
        const std::string modifier = rest.substr(0, plus);
        if (modifier == "Ctrl")
            held.ctrl = true;
        else if (modifier == "Shift")
            held.shift = true;
        else if (modifier == "Alt")
            held.alt = true;
        else
            throw PageError("unknown modifier in {" + name + "} (known: Ctrl, Shift, Alt, as in {Ctrl+A})");
        rest = rest.substr(plus + 1);
    }
    std::size_t at = 0;
    KeyStroke key = rest.size() == 1 ? characterKey(nextCharacter(rest, at)) : namedKey(rest);
    key.ctrl = held.ctrl;
    key.shift = held.shift;
    key.alt = held.alt;
    return key;
}

} // namespace

std::vector<KeyStroke> parseKeySequence(const std::string& keys)
{
    std::vector<KeyStroke> strokes;
    for (std::size_t at = 0; at < keys.size();) {
        if (keys[at] == '{') {
            const std::size_t end = keys.find('}', at);
            if (end == std::string::npos)
                throw PageError("unterminated { in the keys \"" + keys + "\"");
            const std::string name = keys.substr(at + 1, end - at - 1);
            strokes.push_back(name.find('+') != std::string::npos && name.size() > 1 ? keyWithModifiers(name)
                                                                                     : namedKey(name));
            at = end + 1;
        } else {
            strokes.push_back(characterKey(nextCharacter(keys, at)));
        }
    }
    return strokes;
}

} // namespace zeb2hart::frame

#include "demo/Controls.h"

#include <cstdio>

#include "platform/Win32.h"

namespace vardel::demo {

bool Controls::bind(std::initializer_list<Key> keys, const char* help, Action action)
{
    if (keys.size() == 0 || !action) {
        return false;
    }
    for (const Key& key : keys) {
        if (find(key.code, key.modifiers)) {
            return false;
        }
    }
    entries.push_back(Entry{keys, {}, help, std::move(action)});
    return true;
}

void Controls::describe(const char* gesture, const char* help)
{
    entries.push_back(Entry{{}, gesture, help, {}});
}

bool Controls::press(std::uint32_t code, std::uint32_t modifiers) const
{
    const Entry* entry = find(code, modifiers);
    if (!entry) {
        return false;
    }
    entry->action();
    return true;
}

types::String Controls::helpText() const
{
    types::String text;
    for (const Entry& entry : entries) {
        if (text.length > 0) {
            text += "\n";
        }
        if (entry.keys.empty()) {
            text += entry.gesture.chars();
        }
        for (std::size_t i = 0; i < entry.keys.size(); ++i) {
            if (i > 0) {
                text += ", ";
            }
            text += keyName(entry.keys[i]).chars();
        }
        text += ": ";
        text += entry.help.chars();
    }
    return text;
}

types::String Controls::keyName(Key key)
{
    types::String name;
    if (key.modifiers & control) {
        name += "Ctrl+";
    }
    if (key.modifiers & alt) {
        name += "Alt+";
    }
    if (key.modifiers & shift) {
        name += "Shift+";
    }
    struct Named {
        std::uint32_t code;
        const char* name;
    };
    static constexpr Named named[] = {
        {VK_ESCAPE, "Esc"},    {VK_SPACE, "Space"},    {VK_RETURN, "Enter"},  {VK_TAB, "Tab"},
        {VK_BACK, "Backspace"}, {VK_DELETE, "Delete"}, {VK_INSERT, "Insert"}, {VK_HOME, "Home"},
        {VK_END, "End"},       {VK_PRIOR, "Page Up"},  {VK_NEXT, "Page Down"}, {VK_LEFT, "Left"},
        {VK_UP, "Up"},         {VK_RIGHT, "Right"},    {VK_DOWN, "Down"},
    };
    char buffer[16];
    if ((key.code >= 'A' && key.code <= 'Z') || (key.code >= '0' && key.code <= '9')) {
        std::snprintf(buffer, sizeof buffer, "%c", static_cast<char>(key.code));
    } else if (key.code >= VK_F1 && key.code < VK_F1 + 24) {
        std::snprintf(buffer, sizeof buffer, "F%u", static_cast<unsigned>(key.code - VK_F1 + 1));
    } else {
        std::snprintf(buffer, sizeof buffer, "key 0x%02X", static_cast<unsigned>(key.code));
        for (const Named& entry : named) {
            if (entry.code == key.code) {
                std::snprintf(buffer, sizeof buffer, "%s", entry.name);
            }
        }
    }
    return name + buffer;
}

const Controls::Entry* Controls::find(std::uint32_t code, std::uint32_t modifiers) const
{
    for (const Entry& entry : entries) {
        for (const Key& key : entry.keys) {
            if (key.code == code && key.modifiers == modifiers) {
                return &entry;
            }
        }
    }
    return nullptr;
}

} // namespace vardel::demo

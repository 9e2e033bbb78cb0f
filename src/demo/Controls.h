#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

#include "types/String.h"
#include "gui/Input.h"

namespace vardel::demo {

// The demo's one table of controls: the keys that run each action, the mouse gestures handled
// elsewhere, and the line the help panel shows for each. ClothView::bindControls fills it, in the
// order the help lists it; adding a control is one line there:
//
//     controls.bind({{'P'}}, "pause or go on", [this] { paused = !paused; });
//     controls.bind({{'S', Controls::control}, {VK_F12}}, "save a picture", [this] { save(); });
//     controls.describe("Ctrl + left drag", "grab the cloth");  // listed only; the mouse hook acts
//
// A key is a virtual-key code (letters and digits as their upper-case characters, VK_F1,
// VK_ESCAPE, VK_SPACE, ...) with the modifiers that must be held, exactly: Shift+P is not P.
class Controls {
public:
    // Modifier keys, either side of the keyboard alike, as gui::Modifiers::current() reports them.
    static constexpr std::uint32_t shift = gui::Modifiers::shift;
    static constexpr std::uint32_t control = gui::Modifiers::control;
    static constexpr std::uint32_t alt = gui::Modifiers::alt;

    struct Key {
        std::uint32_t code;
        std::uint32_t modifiers = 0;
    };

    using Action = std::function<void()>;

    // Table
    // Binds every key given to the action, with one help line naming them all. False, binding
    // nothing, when there is no key or no action or one of the keys is bound already.
    bool bind(std::initializer_list<Key> keys, const char* help, Action action);
    // Lists a mouse gesture in the help; the mouse hooks do what it says.
    void describe(const char* gesture, const char* help);

    // Use
    // Runs the action bound to the key with exactly these modifiers; false when none is.
    bool press(std::uint32_t code, std::uint32_t modifiers) const;
    // One line per entry in the order given, "keys: help", lines joined by newlines.
    types::String helpText() const;

    // As the help names a key: "Ctrl+Shift+F1", "Esc", "Space", "H".
    static types::String keyName(Key key);

private:
    struct Entry {
        std::vector<Key> keys;
        types::String gesture;
        types::String help;
        Action action;
    };

    const Entry* find(std::uint32_t code, std::uint32_t modifiers) const;

    std::vector<Entry> entries;
};

} // namespace vardel::demo

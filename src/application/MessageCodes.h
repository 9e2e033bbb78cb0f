#pragma once

#include <cstdint>

#include "platform/Win32.h"

namespace vardel::application {

// Every message code the framework itself uses, in one list. The classes that serve them name
// them too (gui::Window::openWindow, Application::quitApplication, Looper::frameworkMessage).
//
// Codes of Message::what: the framework keeps 0x70000000 to 0x8FFFFFFF (read as unsigned) for
// itself; programs are free to use 0 to 0x6FFFFFFF and 0x90000000 to 0xFFFFFFFF.
//
// Native thread messages: a looper's thread takes WM_USER + 100 and WM_USER + 101 from its native
// queue; programs that post their own native messages to a looper's thread use WM_USER to
// WM_USER + 99, WM_USER + 102 to 0x7FFF, or WM_APP (0x8000) to 0xBFFF.
struct MessageCodes {
    // Served by gui::Window on its own thread.
    static constexpr std::int32_t openWindow = 0x70000001;
    // Closes the window, on its own thread.
    static constexpr std::int32_t closeWindow = 0x70000002;
    // Both carry the view as the parameter "view".
    static constexpr std::int32_t paintView = 0x70000003;
    // Lays out a view for its new size.
    static constexpr std::int32_t resizeView = 0x70000004;

    // Ends Application::run when it targets the application itself.
    static constexpr std::int32_t quitApplication = static_cast<std::int32_t>(0x80000001u);

    // A looper's native thread messages: a framework message (wParam is the Message), and the
    // notice with which the loop makes sure of its thread's queue.
    static constexpr UINT frameworkMessage = WM_USER + 100;
    // The notice with which a looper's loop makes sure of its thread's queue.
    static constexpr UINT queueReady = WM_USER + 101;
};

} // namespace vardel::application

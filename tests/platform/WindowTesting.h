#pragma once

#include "platform/Win32.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

// What the window tests share: a window class whose procedure records every message, and a pump
// that serves the calling thread's messages until a condition holds.
namespace windowtesting {

struct Seen {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

inline std::vector<Seen>& seen()
{
    static std::vector<Seen> messages;
    return messages;
}

// Set by a test to answer WM_GETMINMAXINFO with a minimum tracking size.
inline POINT& minimumTrack()
{
    static POINT size{0, 0};
    return size;
}

inline LRESULT CALLBACK recordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    seen().push_back({window, message, wParam, lParam});
    switch (message) {
    case WM_GETMINMAXINFO:
        if (minimumTrack().x > 0) {
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = minimumTrack();
        }
        return 0;
    case WM_CLOSE:
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

inline const char* recordingClass()
{
    static const char* name = [] {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = CS_OWNDC;
        windowClass.lpfnWndProc = recordingProcedure;
        windowClass.cbWndExtra = sizeof(LONG_PTR);
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.lpszClassName = "vardel::test::recording";
        RegisterClassExA(&windowClass);
        return "vardel::test::recording";
    }();
    return name;
}

inline HWND makeWindow(const char* title, int x, int y, int width, int height, HWND parent = nullptr,
                       LPVOID parameter = nullptr)
{
    DWORD style = parent ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW;
    return CreateWindowExA(0, recordingClass(), title, style, x, y, width, height, parent, nullptr,
                           GetModuleHandleA(nullptr), parameter);
}

// Serves messages until done() holds or the time is up; false on time-out.
inline bool pumpUntil(const std::function<bool()>& done, int milliseconds = 2000)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (done()) {
            return true;
        }
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        Sleep(2);
    }
}

// wglGetProcAddress as a pointer of the entry point's own type. PROC differs between the
// systems, so the cast goes through a plain function pointer.
template <typename Function>
Function entryPoint(const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(wglGetProcAddress(name)));
}

// Serves everything that arrives within the time given.
inline void pumpFor(int milliseconds)
{
    pumpUntil([] { return false; }, milliseconds);
}

inline std::vector<UINT> messagesOf(HWND window)
{
    std::vector<UINT> numbers;
    for (const Seen& message : seen()) {
        if (message.window == window) {
            numbers.push_back(message.message);
        }
    }
    return numbers;
}

// Shows a window and serves what showing it brings: on a loaded server the exposure of a newly
// mapped window can come late and would otherwise land in the middle of a test as a paint.
inline void showAndSettle(HWND window)
{
    ShowWindow(window, SW_SHOW);
    pumpUntil([&] {
        std::vector<UINT> numbers = messagesOf(window);
        return std::find(numbers.begin(), numbers.end(), static_cast<UINT>(WM_PAINT)) != numbers.end();
    });
    size_t count = 0;
    do {
        count = seen().size();
        pumpFor(100);
    } while (seen().size() != count);
}

} // namespace windowtesting

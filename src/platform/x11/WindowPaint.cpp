#include "platform/x11/WindowRecord.h"

#include "platform/posix/LastError.h"
#include "platform/posix/MessageQueue.h"
#include "platform/x11/DeviceContext.h"

namespace vardel::platform::x11 {

using posix::fail;

namespace {

bool empty(const RECT& rect)
{
    return rect.left >= rect.right || rect.top >= rect.bottom;
}

} // namespace

bool WindowRecord::invalidate(HWND window, const RECT* rect, bool erase)
{
    auto* record = reinterpret_cast<WindowRecord*>(window);
    std::shared_ptr<posix::MessageQueue> queue;
    {
        Lock::Hold hold(registry().lock);
        if (!window || !registry().live.count(record)) {
            return fail(ERROR_INVALID_WINDOW_HANDLE);
        }
        if (rect && empty(*rect)) {
            return true;
        }
        if (rect) {
            record->invalid.add(*rect);
        } else {
            record->invalid.addAll();
        }
        record->eraseWanted = record->eraseWanted || erase;
        queue = record->queue;
    }
    // The owner may be asleep in GetMessageA: have it look at its windows again.
    if (queue) {
        queue->wake();
    }
    return true;
}

void WindowRecord::validate(const RECT* rect)
{
    Lock::Hold hold(registry().lock);
    if (rect) {
        invalid.subtract(*rect, width, height);
    }
    if (!rect || empty(invalid.bounds(width, height))) {
        invalid.clear();
        eraseWanted = false;
    }
}

bool WindowRecord::takeInvalid(RECT& rect, bool& erase)
{
    Lock::Hold hold(registry().lock);
    rect = invalid.bounds(width, height);
    erase = eraseWanted;
    invalid.clear();
    eraseWanted = false;
    return !empty(rect);
}

WindowRecord* WindowRecord::firstInvalid(const std::vector<WindowRecord*>& windows, HWND filter)
{
    Lock::Hold hold(registry().lock);
    for (WindowRecord* window : windows) {
        if ((filter && filter != window->handle()) || !window->showing()) {
            continue;
        }
        if (!empty(window->invalid.bounds(window->width, window->height))) {
            return window;
        }
        // Nothing of it lies inside the client area any more.
        window->invalid.clear();
        window->eraseWanted = false;
    }
    return nullptr;
}

} // namespace vardel::platform::x11

using namespace vardel::platform::x11;
using vardel::platform::posix::fail;

BOOL WINAPI UpdateWindow(HWND window)
{
    WindowRecord* record = WindowRecord::findOwned(window);
    if (!record) {
        return FALSE;
    }
    std::vector<WindowRecord*> self{record};
    if (WindowRecord::firstInvalid(self, window)) {
        record->send(WM_PAINT, 0, 0);
    }
    return TRUE;
}

BOOL WINAPI InvalidateRect(HWND window, LPCRECT rect, BOOL erase)
{
    return WindowRecord::invalidate(window, rect, erase != FALSE) ? TRUE : FALSE;
}

BOOL WINAPI ValidateRect(HWND window, LPCRECT rect)
{
    WindowRecord* record = WindowRecord::findOwned(window);
    if (!record) {
        return FALSE;
    }
    record->validate(rect);
    return TRUE;
}

HDC WINAPI BeginPaint(HWND window, LPPAINTSTRUCT paint)
{
    WindowRecord* record = WindowRecord::findOwned(window);
    if (!record || !paint) {
        if (record) {
            fail(ERROR_INVALID_PARAMETER);
        }
        return nullptr;
    }
    *paint = PAINTSTRUCT{};
    HDC dc = record->dc->handle();
    paint->hdc = dc;
    bool erase = false;
    record->takeInvalid(paint->rcPaint, erase);
    if (erase) {
        // fErase tells the painter that the background still needs erasing.
        paint->fErase = record->send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0;
        if (!WindowRecord::alive(record)) {
            return nullptr;
        }
    }
    return dc;
}

BOOL WINAPI EndPaint(HWND window, const PAINTSTRUCT*)
{
    return WindowRecord::findOwned(window) ? TRUE : FALSE;
}

#pragma once

#include <deque>
#include <unordered_map>
#include <vector>

#include "platform/posix/MessageSource.h"
#include "platform/x11/Desktop.h"
#include "platform/x11/Keyboard.h"

struct _XDisplay;
union _XEvent;

namespace vardel::platform::x11 {

class WindowRecord;

// The X connection of one GUI thread, opened with its first window and closed on the same thread
// once its last window and GL context are gone. As a source of the thread's message queue it turns
// X events into messages: sent ones (WM_SIZE, WM_MOVE, WM_ACTIVATE, WM_CLOSE) go straight to the
// window procedures; input waits in a queue of its own that is served after the posted messages,
// and WM_PAINT comes after both, as on Win32.
class Connection : public posix::MessageSource {
public:
    // The calling thread's connection, opened on first use; null when the display cannot be reached,
    // with the last error of Xlib::open.
    static Connection* current();
    // The calling thread's connection if it has one, else null.
    static Connection* existing();

    // Windows and GL contexts each hold the connection; the last release closes it (after the
    // event being handled, when that is what released it).
    void retain();
    void release();

    _XDisplay* display() const { return xDisplay; }
    unsigned long rootWindow() const { return root; }

    // Windows of the connection, by X window and in creation order
    void addWindow(WindowRecord* window);
    void removeWindow(WindowRecord* window);
    void renameWindow(WindowRecord* window, unsigned long oldId);
    WindowRecord* windowOf(unsigned long xid) const;

    // Message source
    int descriptor() override;
    void pump(posix::MessageQueue& queue) override;
    bool idle(MSG& message, HWND window, UINT first, UINT last, bool remove) override;

    // Input
    // Queues an input message, served after the posted messages and before WM_PAINT.
    void postInput(WindowRecord* window, UINT message, WPARAM wParam, LPARAM lParam, int rootX, int rootY);
    // TranslateMessage: queues WM_CHAR for the characters of a key-down, ahead of later input.
    void translate(const MSG& keyDown);
    Keyboard keyboard;

    // Atoms of the window-manager protocols
    unsigned long protocolsAtom = 0;
    unsigned long deleteAtom = 0;
    unsigned long nameAtom = 0;
    unsigned long utf8Atom = 0;

private:
    explicit Connection(_XDisplay* display);
    ~Connection();
    void close();
    void handle(_XEvent& event);
    void handleKey(_XEvent& event);
    void handlePointer(_XEvent& event);
    void handleCrossing(_XEvent& event);
    void handleConfigure(_XEvent& event);
    void handleFocus(_XEvent& event);
    void dropInput(WindowRecord* window);

    _XDisplay* xDisplay;
    unsigned long root = 0;
    int users = 0;
    int pumping = 0;
    bool closing = false;
    posix::MessageQueue* queue = nullptr;
    std::unordered_map<unsigned long, WindowRecord*> byId;
    std::vector<WindowRecord*> windows;
    std::deque<MSG> input;
};

} // namespace vardel::platform::x11

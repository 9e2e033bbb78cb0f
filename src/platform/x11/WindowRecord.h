#pragma once

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/x11/Desktop.h"
#include "platform/x11/InvalidRegion.h"
#include "platform/x11/Lock.h"

namespace vardel::platform::posix {
class MessageQueue;
}

namespace vardel::platform::x11 {

class Connection;
class DeviceContext;
class WindowClass;

// What the layer keeps for one window (an HWND points to it): its procedure and slots, its place
// in the window tree, its X window on the owner thread's connection, its device context and its
// invalid region. The owner thread alone changes a record and destroys it; other threads only
// invalidate it, under the registry lock, so a live record never goes away under them.
class WindowRecord {
public:
    // Creation and destruction (owner thread)
    static WindowRecord* create(const WindowClass& windowClass, DWORD exStyle, LPCSTR name, DWORD style, int x, int y,
                                int width, int height, HWND parent, HINSTANCE instance, LPVOID parameter);
    // Sends WM_DESTROY to the window and its descendants, parents first, then frees them all.
    void destroy();
    // The same for a window whose X window another client destroyed: no GL context stays
    // current on the dead windows while they are told, and the server is not asked to destroy
    // them again.
    void destroyedElsewhere();
    // Frees the windows a connection still has when its thread ends, without messages.
    static void abandon(Connection* connection);

    // Finding records
    // The live window behind a handle, or null with ERROR_INVALID_WINDOW_HANDLE set.
    static WindowRecord* find(HWND window);
    // The same, also null (with ERROR_ACCESS_DENIED) for a window of another thread.
    static WindowRecord* findOwned(HWND window);
    // Whether record is still a live window; for the owner thread after a procedure call.
    static bool alive(const WindowRecord* record);

    HWND handle() const { return reinterpret_cast<HWND>(const_cast<WindowRecord*>(this)); }
    // Calls the window procedure at once, as a sent message.
    LRESULT send(UINT message, WPARAM wParam, LPARAM lParam);
    bool topLevel() const { return parent == nullptr; }
    // Visible, and so are all its ancestors.
    bool showing() const;
    // The top-left corner of the client area on the screen.
    POINT screenOrigin() const;
    // The deepest visible window of this one's tree that contains a screen point, or null.
    WindowRecord* windowAt(POINT screenPoint);
    // Whether this window is window or one of its descendants.
    bool within(const WindowRecord* window) const;

    // Placement (owner thread)
    // Moves and sizes the X window and sends WM_SIZE, then WM_MOVE, for what changed.
    void place(int left, int top, int newWidth, int newHeight, bool move, bool resize);
    // Records a size or position the X server reports and sends WM_SIZE and WM_MOVE for changes.
    void configured(int left, int top, int newWidth, int newHeight);
    void show(bool visible);
    // Asks the procedure for the tracking limits of a top-level window (WM_GETMINMAXINFO) and
    // passes them to the window manager. False if the procedure destroyed the window.
    bool askLimits();
    // Asks once more for a window that exists and resizes it to fit (WM_SIZE). False if the
    // procedure destroyed the window.
    bool askLimitsAgain();
    void setTitle(const char* text);
    // Recreates the X window with the visual of a pixel format when it differs from the current
    // one; the handle, device context and place in the tree stay.
    bool usePixelFormat(int format);

    // Painting (any thread)
    static bool invalidate(HWND window, const RECT* rect, bool erase);
    // Takes rect (all when null) out of the invalid region. Owner thread.
    void validate(const RECT* rect);
    // Takes the invalid region for BeginPaint: its bounding rectangle and whether it asked for
    // erasing.
    bool takeInvalid(RECT& rect, bool& erase);
    // The first window of a connection, in creation order, that has an invalid region and
    // matches the filter; null if none.
    static WindowRecord* firstInvalid(const std::vector<WindowRecord*>& windows, HWND filter);

    // Identity and slots
    const WindowClass* windowClass = nullptr;
    WNDPROC procedure = nullptr;
    LONG_PTR userData = 0;
    HINSTANCE instance = nullptr;
    std::vector<unsigned char> extra;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::string title;

    // Tree and owner
    WindowRecord* parent = nullptr;
    std::vector<WindowRecord*> children;
    Connection* connection = nullptr;
    DWORD threadId = 0;
    std::shared_ptr<posix::MessageQueue> queue;

    // X window and placement: left and top in the parent's client area (on the screen for a
    // top-level window)
    unsigned long xid = 0;
    unsigned long colormap = 0;
    unsigned long visualId = 0;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool visible = false;
    // The X server's reports older than the last request that moved or sized the window are stale.
    unsigned long placeSerial = 0;
    bool reparented = false;
    bool positioned = false;
    POINT minimumSize{1, 1};
    POINT maximumSize{32767, 32767};
    std::unique_ptr<DeviceContext> dc;
    int pixelFormat = 0;

    // Input
    bool active = false;
    bool trackLeave = false;
    bool pointerInside = false;
    bool destroying = false;

private:
    // Every live record; other threads check a handle against it before they invalidate.
    struct Registry {
        Lock lock;
        std::unordered_set<const WindowRecord*> live;
    };
    static Registry& registry();

    WindowRecord();
    ~WindowRecord();
    bool createX(unsigned long parentId, unsigned long visual);
    void setHints();
    void collect(std::vector<WindowRecord*>& tree);
    // notify sends WM_DESTROY; gone says the X windows no longer exist.
    void tearDown(bool notify, bool gone);
    void free();
    void applyTitle();
    void notifyPlacement(bool moved, bool sized);

    // Guarded by the registry lock
    InvalidRegion invalid;
    bool eraseWanted = false;
};

} // namespace vardel::platform::x11

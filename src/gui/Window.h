#pragma once

#include <atomic>
#include <cstdint>

#include "platform/Win32.h"
#include "container/Chain.h"
#include "math/Point.h"
#include "math/Rectangle.h"
#include "object/Object.h"
#include "types/String.h"
#include "system/Signal.h"
#include "application/Looper.h"
#include "application/MessageCodes.h"
#include "gui/Context.h"
#include "gui/InputHooks.h"
#include "gui/LogicalPalette.h"
#include "gui/View.h"

namespace vardel::gui {

// A top-level window with a looper thread of its own: the native window is made on that thread,
// which serves the window's messages, pumps its native messages and runs every hook and paint of
// the window and its views.
class Window : public application::Looper, public InputHooks {
    VARDEL_CLASS_PATH(application::Looper, Window)

    // Messages the window serves on its thread (application/MessageCodes.h).
    static constexpr std::int32_t openWindow = application::MessageCodes::openWindow;
    // Closes the native window on the window's thread.
    static constexpr std::int32_t closeWindow = application::MessageCodes::closeWindow;
    // Both carry the view as the parameter "view".
    static constexpr std::int32_t paintView = application::MessageCodes::paintView;
    // Lays out a view for its new size.
    static constexpr std::int32_t resizeView = application::MessageCodes::resizeView;

    // The name of the native window class of windows.
    static constexpr const char* windowClass = "vardel::gui::window::class";

    Window();
    // Closes the window if its thread runs, then lets every view go. A derived window closes
    // before it is let go: its own parts are gone by then while its thread may still call it.
    ~Window() override;

    types::String getName() const override;
    bool handleMessage(application::Message& message) override;

    // Hooks
    // Opens every view; called once the native window exists.
    virtual bool openViews();
    // Closes every view; called before the native window goes.
    virtual bool closeViews();
    // The user asked to close the window; the default closes it. Also called, with the window
    // closed already, when another program destroyed the native window.
    virtual bool closeRequested();
    // The window became the active one; tells every view.
    virtual bool activated();
    // Another window became the active one; tells every view.
    virtual bool deactivated();
    // The window moved to position (screen pixels).
    virtual bool moved(math::Point position);
    // Lays out the views for the change of frame since the last layout.
    virtual bool resized(math::Point size);
    // Draws the part rectangle of the client area; the base window draws nothing.
    virtual bool paint(Context& context, const math::Rectangle& rectangle);
    // Input hooks (gui/InputHooks.h): keys and characters go to the focus view instead when
    // there is one; the base hooks answer true. The window's own area has no enter and leave
    // notices: mouseEntered and mouseExited are not called.
    // Passed to the focus view.
    bool mouseWheel(float delta, std::uint32_t buttons) override;

    // Appearance
    // Sets the title, at once on an open window.
    void setTitle(const char* text);
    // Closed, the views are laid out at once; open, the native window is resized (never moved)
    // and its size message lays them out.
    void setSize(math::Point size);

    // Opening and closing, from any thread; both return once the window thread has served them.
    // False for a window already open (open) or not open (close).
    bool open();
    // Closes the native window and its views and ends the window's thread.
    bool close();

    // Views
    // Appends a view that belongs to no window and has no parent; opens it if the window is open.
    bool addView(View* view);
    // Closes a view of this window and lets it go.
    bool removeView(View* view);

    // The procedure of the window class; the window is in its user data.
    static LRESULT CALLBACK procedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);

    // The views, in the order they were added.
    container::Chain<View> views;
    // The client area's place on the screen and its size.
    math::Rectangle frame;
    // The frame at the last layout.
    math::Rectangle previousFrame;
    // The smallest client size the user may give the window.
    math::Point minimumSize;
    // The largest client size the user may give the window.
    math::Point maximumSize;
    // The title shown in the frame.
    types::String title;
    // The view that takes the keys, or null.
    View* focusView;
    // Whether the native window exists.
    std::atomic<bool> isOpen;
    // The system's error code when the last open could not make the native window (the display
    // refused it, say); 0 after one that could. Read once open has returned.
    DWORD openError;
    // Set when opening or closing has been served on the window's thread.
    system::Signal openSignal;
    // The native window and its device context while open.
    Context context;
    // The native window while open, or null.
    HWND handle;
    // The native window's device context while open, or null.
    HDC deviceContext;
    // The native window's style flags.
    DWORD style;
    // The colours of the window's palette.
    LogicalPalette paletteEntries;
    // The window's palette on a palette display, or null.
    HPALETTE palette;

private:
    // On the window thread
    bool serveOpen();
    void serveClose();
    // Closes the views and gives back what the native window held, which is about to go.
    void letGo();
    void layout();
    LRESULT realizePalette(BOOL background);
};

} // namespace vardel::gui

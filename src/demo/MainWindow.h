#pragma once

#include "gui/Window.h"

namespace vardel::demo {

// The demo's top-level window, "Vardel", 600 x 500 unless told otherwise. Its close box ends the
// application, which then closes the window from the main thread.
class MainWindow : public gui::Window {
    VARDEL_CLASS_PATH(gui::Window, MainWindow)

    explicit MainWindow(math::Point size = math::Point(600.0f, 500.0f));
    ~MainWindow() override;

    bool closeRequested() override;
};

} // namespace vardel::demo

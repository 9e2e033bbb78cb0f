#pragma once

#include "types/String.h"
#include "application/Application.h"
#include "demo/Options.h"

namespace vardel::demo {

class ClothView;
class MainWindow;
class OpenGLTicker;

// The cloth demo: opens the main window with the cloth view and repaints it every 20 ms until the
// user closes the window, or until the options' frames are drawn.
class SampleApplication : public application::Application {
    VARDEL_CLASS_PATH(application::Application, SampleApplication)

    explicit SampleApplication(const Options& options = Options());

    // False, after one line on stderr, when the window or its OpenGL view cannot be opened.
    bool ready() override;
    bool quitting() override;

    MainWindow* window;
    ClothView* view;
    OpenGLTicker* ticker;
    Options options;
    // Set once the window has closed when the options' screenshot could not be saved.
    bool screenshotFailed;

private:
    // Writes the line to stderr, lets the window and the view go and returns false.
    bool fail(const types::String& line);
};

} // namespace vardel::demo

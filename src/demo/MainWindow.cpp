#include "demo/MainWindow.h"

#include "application/Application.h"

namespace vardel::demo {

MainWindow::MainWindow(math::Point size)
{
    setTitle("Vardel");
    setSize(size);
    minimumSize = math::Point(256.0f, 256.0f);
}

// Closed here, while the overrides the window thread may still call are those of this class.
MainWindow::~MainWindow()
{
    close();
}

bool MainWindow::closeRequested()
{
    application::Application::quit();
    return true;
}

} // namespace vardel::demo

#pragma once

#include "system/Ticker.h"
#include "gui/Forward.h"

namespace vardel::demo {

// Asks an OpenGL view for a repaint on every tick; the view draws on its own window's thread.
class OpenGLTicker : public system::Ticker {
    VARDEL_CLASS_PATH(system::Ticker, OpenGLTicker)

    // The view is not counted: it must outlive the ticker's run.
    explicit OpenGLTicker(gui::View* view);

    // False, asking nothing, while the view belongs to no window.
    bool tick() override;

    gui::View* view;
};

} // namespace vardel::demo

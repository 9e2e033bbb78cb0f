#include "demo/OpenGLTicker.h"

#include "gui/View.h"

namespace vardel::demo {

OpenGLTicker::OpenGLTicker(gui::View* view) : view(view) {}

bool OpenGLTicker::tick()
{
    return view->invalidate();
}

} // namespace vardel::demo

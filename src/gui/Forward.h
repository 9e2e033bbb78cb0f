#pragma once

namespace vardel::gui {

class Context;
class OpenGL;
class View;
class Window;

} // namespace vardel::gui

#pragma once

namespace vardel::gui3d {

class Context;
class FontCache;
class FontMap;
class Label;
class Overlay;
class Root;
class View;

} // namespace vardel::gui3d

#pragma once

namespace vardel::freetype {

class Descriptor;
class Font;
class FontFactory;
struct GlyphInfo;

} // namespace vardel::freetype

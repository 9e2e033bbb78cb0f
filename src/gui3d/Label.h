#pragma once

#include <cstdint>

#include "math/Colour4.h"
#include "math/Point.h"
#include "math/Rectangle.h"
#include "types/String.h"
#include "freetype/Forward.h"
#include "gui3d/View.h"

namespace vardel::gui3d {

// A few lines of text in one corner of its root, drawn over the 3D frame: margin pixels in from
// the corner's two edges, on a background of its own when that has any alpha. It follows its
// corner as the root and the text change size, and takes no input.
class Label : public View {
    VARDEL_CLASS_PATH(View, Label)

    // The corner: gui::anchorLeft or gui::anchorRight with gui::anchorTop or gui::anchorBottom.
    // Takes a reference on the font.
    Label(freetype::Font* font, std::uint32_t corner);
    ~Label() override;

    // UTF-8, lines split by newlines.
    void setText(const char* newText);
    // Where the label goes in a root of the given size: its background's box, and the origin its
    // text is drawn from.
    math::Rectangle place(math::Point rootSize, math::Point& textOrigin) const;

    // Draws the background and the text where place puts them, and keeps the frame there.
    void draw(Overlay& overlay) override;

    // The font the text is drawn in; counted, or null for no text.
    freetype::Font* font;
    // The corner of the root the label keeps to.
    std::uint32_t corner;
    // The text, UTF-8.
    types::String text;
    // White, opaque.
    math::Colour4 colour;
    // None.
    math::Colour4 background;
    // Pixels from the corner's edges to the background's box.
    float margin;
    // Pixels from the background's box to the text's.
    float padding;
};

} // namespace vardel::gui3d

#include "gui3d/Label.h"

#include "freetype/Font.h"
#include "gui/Anchors.h"
#include "gui3d/FontMap.h"
#include "gui3d/Overlay.h"
#include "gui3d/Root.h"
#include "gui3d/TextLayout.h"

namespace vardel::gui3d {

Label::Label(freetype::Font* font, std::uint32_t corner)
    : View(math::Rectangle(0, 0, 0, 0)), font(font), corner(corner), colour{1, 1, 1, 1}, background{0, 0, 0, 0},
      margin(6), padding(0)
{
    font->retain();
    acceptsInput = false;
}

Label::~Label()
{
    font->release();
}

void Label::setText(const char* newText)
{
    text = newText;
}

math::Rectangle Label::place(math::Point rootSize, math::Point& textOrigin) const
{
    math::Rectangle box = TextLayout(*font).measure(text.chars(), text.length);
    float width = box.width + 2 * padding;
    float height = box.height + 2 * padding;
    float x = (corner & gui::anchorRight) ? rootSize.x - margin - width : margin;
    float y = (corner & gui::anchorBottom) ? rootSize.y - margin - height : margin;
    // The measured box may start left of or above the text's origin.
    textOrigin = math::Point(x + padding - box.x, y + padding - box.y);
    return math::Rectangle(x, y, width, height);
}

void Label::draw(Overlay& overlay)
{
    math::Point origin;
    frame = place(root->size, origin);
    if (background.alpha > 0) {
        overlay.fill(frame, background);
    }
    FontMap* map = root->guiContext.fontCache.mapFor(font);
    map->draw(overlay, text.chars(), text.length, origin, colour);
}

} // namespace vardel::gui3d

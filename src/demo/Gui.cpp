#include "demo/Gui.h"

#include <cmath>
#include <cstdio>
#include <numbers>

#include "object/Exception.h"
#include "system/System.h"
#include "freetype/Descriptor.h"
#include "freetype/Font.h"
#include "freetype/FontFactory.h"
#include "gui/Anchors.h"
#include "gui/Input.h"
#include "demo/ClothView.h"
#include "gui3d/Label.h"

namespace vardel::demo {

namespace {

// The camera sits this far in front of the cloth before any dolly.
constexpr float baseDistance = 400.0f;
constexpr float degreesPerPixel = 180.0f * 0.002f;
constexpr float panPerPixel = 0.1f;
constexpr float dollyPerPixel = 0.1f;
// As much as a right drag of 200 pixels.
constexpr float dollyPerNotch = 20.0f;

// One correction per move: a long drag can leave an angle beyond a full turn until the next move.
float wrapOnce(float degrees)
{
    if (degrees > 360.0f) {
        return degrees - 360.0f;
    }
    if (degrees < -360.0f) {
        return degrees + 360.0f;
    }
    return degrees;
}

// The right-handed rotation by degrees about a unit axis, as a 3 x 3 block stored row by row.
void rotation(float degrees, const float axis[3], double block[9])
{
    double radians = static_cast<double>(degrees * (1.0f / 180.0f)) * std::numbers::pi;
    double c = std::cos(radians);
    double s = std::sin(radians);
    double x = axis[0];
    double y = axis[1];
    double z = axis[2];
    const double rows[9] = {
        c + (1 - c) * x * x,     (1 - c) * x * y - s * z, (1 - c) * x * z + s * y,
        (1 - c) * y * x + s * z, c + (1 - c) * y * y,     (1 - c) * y * z - s * x,
        (1 - c) * z * x - s * y, (1 - c) * z * y + s * x, c + (1 - c) * z * z,
    };
    std::copy(rows, rows + 9, block);
}

// The caption's own face is a narrow one, legible at 24 pixels. Any other face found instead is
// taken at the size of ordinary screen text, which keeps three lines of figures small over the
// cloth and still clear on a 600 x 500 window.
constexpr const char* captionFamily = "Accidental Presidency";
constexpr float captionSize = 24.0f;
constexpr float fallbackSize = 14.0f;

freetype::Font* loadCaptionFont()
{
    try {
        freetype::FontFactory factory;
        freetype::Descriptor descriptor;
        descriptor.family = captionFamily;
        descriptor.width = captionSize;
        descriptor.height = captionSize;
        types::String family = types::String(captionFamily).toLowerCase();
        bool found = false;
        for (const auto& info : factory.fonts) {
            found = found || info.family == family;
        }
        if (!found) {
            descriptor.width = fallbackSize;
            descriptor.height = fallbackSize;
        }
        return factory.createFont(descriptor);
    } catch (const object::Exception& exception) {
        // The cloth is worth showing without the caption.
        types::String line = "vardel-cloth: no caption font in the working folder (" + exception.toString() +
                             "); carrying on without it\n";
        system::System::standardError().write(line.chars(), static_cast<int>(line.length));
        return nullptr;
    }
}

} // namespace

Gui::Gui(graphics3d::Context* renderContext)
    : Root(renderContext), font(nullptr), clothView(nullptr), grabbing(false), helpShown(false), noticeUntil(0),
      caption(nullptr), hint(nullptr), help(nullptr), panX(0), panY(0), dolly(0), tilt(0), turn(0), lastPoint(0, 0),
      previousPoint(0, 0)
{
    rebuildViewMatrix();
    font = loadCaptionFont();
    if (!font) {
        return;
    }
    caption = addLabel(gui::anchorLeft | gui::anchorTop);
    hint = addLabel(gui::anchorLeft | gui::anchorBottom);
    hint->setText("H: help");
    // The panel lies over the cloth: a dark ground keeps its lines legible there. The caption and
    // the hint sit over the black around the cloth and go without, as blending a ground costs
    // more than their text.
    help = addLabel(gui::anchorLeft | gui::anchorBottom);
    help->background = math::Colour4{0.0f, 0.0f, 0.0f, 0.6f};
    help->padding = 8.0f;
    help->visible = false;
}

gui3d::Label* Gui::addLabel(std::uint32_t corner)
{
    auto* label = new gui3d::Label(font, corner);
    addView(label);
    // The root's chain holds it from here.
    label->release();
    return label;
}

Gui::~Gui()
{
    if (font) {
        font->release();
    }
}

bool Gui::mouseMoved(math::Point point, std::uint32_t buttons)
{
    if (Root::mouseMoved(point, buttons)) {
        return true;
    }
    previousPoint = lastPoint;
    lastPoint = point;
    float dx = point.x - previousPoint.x;
    float dy = point.y - previousPoint.y;
    if (grabbing) {
        // A release outside the view never arrives: the next move without the button ends the grab.
        if (buttons & gui::ButtonState::leftDown) {
            clothView->dragTo(point);
            InvalidateRect(handle, nullptr, TRUE);
            return true;
        }
        grabbing = false;
        clothView->control.letGo();
    }
    if (buttons & gui::ButtonState::leftDown) {
        tilt = wrapOnce(tilt + dy * degreesPerPixel);
        turn = wrapOnce(turn + dx * degreesPerPixel);
    }
    if (buttons & gui::ButtonState::middleDown) {
        panX += dx * panPerPixel;
        panY -= dy * panPerPixel;
    }
    if (buttons & gui::ButtonState::rightDown) {
        dolly += (dx - dy) * dollyPerPixel;
    }
    rebuildViewMatrix();
    if (buttons & (gui::ButtonState::leftDown | gui::ButtonState::middleDown | gui::ButtonState::rightDown)) {
        InvalidateRect(handle, nullptr, TRUE);
    }
    return true;
}

bool Gui::mouseButton(math::Point point, std::uint32_t button)
{
    if (Root::mouseButton(point, button)) {
        return true;
    }
    if (button == gui::ButtonState::leftDown && clothView &&
        (gui::Modifiers::current() & gui::Modifiers::control)) {
        grabbing = clothView->grabAt(point);
        // The drag measures its moves from here, whichever it steers.
        lastPoint = point;
    } else if (button == gui::ButtonState::leftUp && grabbing) {
        grabbing = false;
        clothView->control.letGo();
    }
    return true;
}

bool Gui::mouseWheel(float delta, std::uint32_t buttons)
{
    if (Root::mouseWheel(delta, buttons)) {
        return true;
    }
    dolly += delta / WHEEL_DELTA * dollyPerNotch;
    rebuildViewMatrix();
    InvalidateRect(handle, nullptr, TRUE);
    return true;
}

void Gui::resetCamera()
{
    panX = panY = dolly = tilt = turn = 0.0f;
    rebuildViewMatrix();
    InvalidateRect(handle, nullptr, TRUE);
}

bool Gui::keyDown(std::uint32_t key)
{
    return controls.press(key, gui::Modifiers::current());
}

void Gui::toggleHelp()
{
    helpShown = !helpShown;
    if (help) {
        help->setText(controls.helpText().chars());
        help->visible = helpShown;
        hint->visible = !helpShown;
    }
    InvalidateRect(handle, nullptr, TRUE);
}

void Gui::showFrame(double seconds, double workMicroseconds, std::uint32_t weights, std::uint32_t springs,
                    const char* switchesOn)
{
    frameRate.frame(seconds);
    if (!caption) {
        return;
    }
    char text[224];
    std::snprintf(text, sizeof text, "%.1f fps\nstep + update: %.0f \xC2\xB5s\ncloth: %u weights, %u springs\non: %s",
                  frameRate.perSecond(), workMicroseconds, static_cast<unsigned>(weights),
                  static_cast<unsigned>(springs), switchesOn);
    if (seconds < noticeUntil) {
        caption->setText((types::String(text) + "\n" + notice).chars());
    } else {
        caption->setText(text);
    }
}

void Gui::notify(const char* text, double until)
{
    notice = text;
    noticeUntil = until;
}

void Gui::rebuildViewMatrix()
{
    const float diagonal = 1.0f / std::sqrt(2.0f);
    const float tiltAxis[3] = {diagonal, 0.0f, diagonal};
    const float turnAxis[3] = {0.0f, 1.0f, 0.0f};
    double first[9];
    double second[9];
    rotation(tilt, tiltAxis, first);
    rotation(turn, turnAxis, second);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            double sum = 0;
            for (int k = 0; k < 3; ++k) {
                sum += first[row * 3 + k] * second[k * 3 + column];
            }
            viewMatrix[row * 4 + column] = static_cast<float>(sum);
        }
    }
    viewMatrix[3] = panX;
    viewMatrix[7] = panY;
    viewMatrix[11] = dolly - baseDistance;
    viewMatrix[12] = 0.0f;
    viewMatrix[13] = 0.0f;
    viewMatrix[14] = 0.0f;
    viewMatrix[15] = 1.0f;
}

} // namespace vardel::demo

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "ClothScene.h"
#include "support/GLWindow.h"
#include "graphics3d/Ray.h"

using namespace vardel::graphics3d;
using vardel::math::Point;
using Vector = vardel::math::Vector3<float>;

namespace {

// The size of the test window, which the scene draws into whole.
constexpr int viewWidth = 64;
constexpr int viewHeight = 48;

// Where GL's own matrices put a point of the cloth in the window, rows counted from the top.
Point windowPointOf(const Vector& p)
{
    float modelView[16];
    float projection[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    // GL hands its matrices over column by column.
    float eye[4];
    for (int r = 0; r < 4; ++r)
        eye[r] = modelView[r] * p.x + modelView[4 + r] * p.y + modelView[8 + r] * p.z + modelView[12 + r];
    float clip[4];
    for (int r = 0; r < 4; ++r)
        clip[r] = projection[r] * eye[0] + projection[4 + r] * eye[1] + projection[8 + r] * eye[2] +
                  projection[12 + r] * eye[3];
    return Point((clip[0] / clip[3] + 1.0f) * 0.5f * viewWidth, (1.0f - clip[1] / clip[3]) * 0.5f * viewHeight);
}

class Picking : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        scene = std::make_unique<ClothScene>(context, viewWidth, viewHeight);
    }
    void TearDown() override
    {
        scene.reset();
        GLTest::TearDown();
    }

    // The weight under a window point of the picture last drawn, or -1.
    int pick(Point point, Vector& hit)
    {
        Ray ray;
        if (!Ray::throughPoint(scene->camera, scene->view, Point(viewWidth, viewHeight), point, ray))
            return -1;
        return scene->cloth->pick(ray, hit);
    }

    bool litAt(const std::vector<unsigned char>& pixels, Point point)
    {
        const unsigned char* pixel =
            &pixels[(std::size_t(viewHeight - 1 - int(point.y)) * viewWidth + std::size_t(point.x)) * 4];
        return pixel[0] + pixel[1] + pixel[2] > 0;
    }

    std::unique_ptr<ClothScene> scene;
};

} // namespace

TEST_F(Picking, APointFindsTheWeightDrawnUnderItAndTheBackgroundNone)
{
    for (int frame = 0; frame < 20; ++frame) {
        scene->draw();
        scene->step();
    }
    scene->draw();
    std::vector<unsigned char> pixels = scene->readPixels();

    const Point centre(viewWidth / 2, viewHeight / 2);
    ASSERT_TRUE(litAt(pixels, centre));
    Vector hit;
    int weight = pick(centre, hit);
    ASSERT_GE(weight, 0);
    // Row and column 25 are at x and y = 0 under the window's middle; a pixel here spans 12.5 units,
    // and the weights are 10 apart.
    EXPECT_NEAR(weight / 50, 25, 1);
    EXPECT_NEAR(weight % 50, 25, 1);
    // The hit lies on the cloth as drawn (sagging below z = 0), and GL draws it under the point.
    EXPECT_LT(hit.z, 0.0f);
    Point back = windowPointOf(hit);
    EXPECT_NEAR(back.x, centre.x + 0.5f, 1e-2f);
    EXPECT_NEAR(back.y, centre.y + 0.5f, 1e-2f);

    const Point corner(1, 1);
    ASSERT_FALSE(litAt(pixels, corner));
    EXPECT_EQ(pick(corner, hit), -1);
}

TEST_F(Picking, AfterTheCameraTurnsTheSamePointFindsAnotherWeight)
{
    scene->draw();
    const Point point(viewWidth / 2 + 6, viewHeight / 2);
    Vector hit;
    int before = pick(point, hit);
    ASSERT_GE(before, 0);

    // A turn of 40 degrees about the y axis, as a left drag to the side gives.
    const float angle = 40.0f * 3.14159265f / 180.0f;
    scene->view[0] = std::cos(angle);
    scene->view[2] = std::sin(angle);
    scene->view[8] = -std::sin(angle);
    scene->view[10] = std::cos(angle);
    scene->draw();
    std::vector<unsigned char> pixels = scene->readPixels();
    ASSERT_TRUE(litAt(pixels, point));
    int after = pick(point, hit);
    ASSERT_GE(after, 0);
    EXPECT_NE(after, before);
    Point back = windowPointOf(hit);
    EXPECT_NEAR(back.x, point.x + 0.5f, 1e-2f);
    EXPECT_NEAR(back.y, point.y + 0.5f, 1e-2f);
    // The weight picked is a corner of the triangle hit: within one diagonal of the hit point.
    Vector away = Vector::difference(scene->cloth->relaxator->weights[after].position, hit);
    EXPECT_LT(away.length(), 10.0f * std::sqrt(2.0f));
}

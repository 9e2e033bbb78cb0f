#pragma once

#include <atomic>

#include "system/Signal.h"
#include "graphics3d/Forward.h"
#include "gui/OpenGL.h"
#include "MeshFile.h"

class OrbitRoot;

// The OpenGL view of the viewer: a lit mesh seen through the orbit camera of its root view. Made
// on the main thread; opened, drawn and closed on the window's thread, where the rendering
// context is current and every rendering object is made and let go.
class ViewerView : public vardel::gui::OpenGL {
public:
    ViewerView(const vardel::math::Rectangle& frame, const MeshFile& mesh);

    bool open() override;
    bool close() override;
    // Keeps the camera's aspect that of the view.
    bool resized(vardel::math::Point size) override;
    void draw() override;

    // Set once open has run on the window thread; failed tells that there is nothing to show.
    vardel::system::Signal opened;
    std::atomic<bool> failed{false};

private:
    // The mesh in buffers of the rendering context, centred and scaled to fit a unit sphere, with
    // a normal per vertex averaged from its triangles.
    bool buildMesh();

    const MeshFile& file;
    OrbitRoot* root = nullptr;
    vardel::graphics3d::IndexMesh* mesh = nullptr;
    vardel::graphics3d::Camera* camera = nullptr;
    vardel::graphics3d::Mode* mode = nullptr;
    vardel::graphics3d::PointLight* light = nullptr;
};

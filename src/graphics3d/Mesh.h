#pragma once

#include "geometry/Forward.h"
#include "graphics3d/Bounds.h"
#include "graphics3d/Resource.h"
#include "platform/OpenGL.h"

namespace vardel::graphics3d {

class Appearance;

// Drawable geometry: vertex data, an OpenGL primitive type and the appearance to draw it with.
class Mesh : public Resource {
    VARDEL_CLASS_PATH(Resource, Mesh)

    Mesh();
    ~Mesh() override;

    // Drawing
    // Applies the appearance and draws the mesh with the current Context.
    virtual void render() = 0;
    // Geometry on the CPU
    // A new triangle list of the mesh (one reference for the caller), or null.
    virtual geometry::TriangleMesh3<float>* toTriangleMesh() = 0;
    // The box around the positions; false when there is nothing to measure.
    virtual bool computeBounds(Bounds& out) = 0;

    // Takes a reference on the new appearance, gives back the old one.
    void setAppearance(Appearance* newAppearance);
    // Sets the OpenGL primitive the vertices make, such as GL_TRIANGLES.
    void setPrimitive(GLenum newPrimitive) { primitive = newPrimitive; }

    // How the mesh looks, or null.
    Appearance* appearance;
    // GL_TRIANGLES by default.
    GLenum primitive;
};

} // namespace vardel::graphics3d

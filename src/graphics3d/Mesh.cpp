#include "graphics3d/Mesh.h"

#include "graphics3d/Appearance.h"
#include "graphics3d/Counted.h"

namespace vardel::graphics3d {

Mesh::Mesh() : appearance(nullptr), primitive(GL_TRIANGLES) {}

Mesh::~Mesh()
{
    replaceCounted(appearance, nullptr);
}

void Mesh::setAppearance(Appearance* newAppearance)
{
    replaceCounted(appearance, newAppearance);
}

} // namespace vardel::graphics3d

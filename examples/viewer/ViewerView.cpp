#include "ViewerView.h"

#include <cmath>
#include <vector>

#include "object/Release.h"
#include "math/Vector3.h"
#include "graphics3d/Appearance.h"
#include "graphics3d/Camera.h"
#include "graphics3d/ColourMaterial.h"
#include "graphics3d/Context.h"
#include "graphics3d/Format.h"
#include "graphics3d/IndexBuffer.h"
#include "graphics3d/IndexMesh.h"
#include "graphics3d/Mode.h"
#include "graphics3d/PlainShader.h"
#include "graphics3d/PointLight.h"
#include "graphics3d/Shader.h"
#include "graphics3d/VertexBuffer.h"
#include "OrbitRoot.h"

using namespace vardel;
using Vector = math::Vector3<float>;

namespace {

// Three floats: the format code of a position or a normal.
constexpr std::uint32_t vector3Code = 0xC0324;
// The camera's vertical view: 60 degrees from a near plane 0.5 away.
constexpr float nearPlane = 0.5f;
const float nearHalfHeight = nearPlane * std::tan(30.0f * 3.14159265f / 180.0f);

} // namespace

ViewerView::ViewerView(const math::Rectangle& frame, const MeshFile& mesh) : OpenGL(frame), file(mesh)
{
    colourBits = 24;
    depthBits = 24;
}

bool ViewerView::open()
{
    if (!OpenGL::open()) {
        failed = true;
        opened.set();
        return false;
    }
    graphics3d::Context* context = graphics3d::Context::get();
    root = new OrbitRoot(context);
    root->enableInput();

    camera = new graphics3d::Camera;
    camera->zNear = nearPlane;
    camera->zFar = 100.0f;
    mode = new graphics3d::Mode;
    mode->depthFunction = GL_LESS;
    mode->depthWrite = true;
    light = new graphics3d::PointLight;
    light->setPosition(4.0f, 6.0f, 8.0f);
    light->setAmbient(0.15f, 0.15f, 0.15f, 1.0f);
    light->setDiffuse(0.9f, 0.9f, 0.9f, 1.0f);
    light->setSpecular(0.5f, 0.5f, 0.5f, 1.0f);
    resized(size());

    failed = !buildMesh();
    opened.set();
    return !failed;
}

bool ViewerView::buildMesh()
{
    const std::uint32_t vertexCount = static_cast<std::uint32_t>(file.positions.size() / 3);
    // Centre the box around the mesh on the origin and scale its half-diagonal to 1.
    Vector low{file.positions[0], file.positions[1], file.positions[2]}, high = low;
    for (std::uint32_t i = 0; i < vertexCount; ++i) {
        for (int axis = 0; axis < 3; ++axis) {
            float p = file.positions[3 * i + axis];
            (&low.x)[axis] = std::min((&low.x)[axis], p);
            (&high.x)[axis] = std::max((&high.x)[axis], p);
        }
    }
    Vector centre = Vector::scaled(0.5f, Vector{low.x + high.x, low.y + high.y, low.z + high.z});
    float radius = 0.5f * Vector::difference(high, low).length();
    float scale = radius > 0.0f ? 1.0f / radius : 1.0f;

    // Interleaved position and normal of every vertex; each normal sums its triangles' area-weighted
    // normals before it is made unit length.
    std::vector<Vector> vertices(2 * vertexCount, Vector{0.0f, 0.0f, 0.0f});
    for (std::uint32_t i = 0; i < vertexCount; ++i) {
        Vector p{file.positions[3 * i], file.positions[3 * i + 1], file.positions[3 * i + 2]};
        vertices[2 * i] = Vector::scaled(scale, Vector::difference(p, centre));
    }
    for (std::size_t t = 0; t < file.triangles.size(); t += 3) {
        const std::uint32_t a = file.triangles[t], b = file.triangles[t + 1], c = file.triangles[t + 2];
        Vector normal = Vector::cross(Vector::difference(vertices[2 * b], vertices[2 * a]),
                                      Vector::difference(vertices[2 * c], vertices[2 * a]));
        for (std::uint32_t corner : {a, b, c}) {
            vertices[2 * corner + 1].add(normal);
        }
    }
    for (std::uint32_t i = 0; i < vertexCount; ++i) {
        vertices[2 * i + 1].normalise();
    }

    graphics3d::VertexFormat format;
    format.addComponent(vector3Code, graphics3d::Shader::vertexArray);
    format.addComponent(vector3Code, graphics3d::Shader::normalArray);
    graphics3d::VertexBuffer* vertexBuffer =
        graphics3d::VertexBuffer::create(format, vertexCount, graphics3d::usage::staticDraw);
    const auto indexCount = static_cast<std::uint32_t>(file.triangles.size());
    graphics3d::IndexBuffer* indexBuffer = graphics3d::IndexBuffer::create(4, indexCount, graphics3d::usage::staticDraw);
    if (!vertexBuffer || !indexBuffer) {
        object::releaseAndClear(vertexBuffer);
        object::releaseAndClear(indexBuffer);
        return false;
    }
    vertexBuffer->write(0, vertices.data(), vertexCount);
    indexBuffer->write(0, file.triangles.data(), indexCount);

    // A warm grey that shows the light's shading.
    auto* material = new graphics3d::ColourMaterial;
    material->setAmbient(0.3f, 0.3f, 0.32f, 1.0f);
    material->setDiffuse(0.75f, 0.75f, 0.7f, 1.0f);
    material->setSpecular(0.4f, 0.4f, 0.4f, 1.0f);
    material->setEmission(0.0f, 0.0f, 0.0f, 1.0f);
    auto* shader = new graphics3d::PlainShader;
    auto* appearance = new graphics3d::Appearance;
    appearance->setMaterial(material);
    appearance->setShader(shader);

    mesh = new graphics3d::IndexMesh;
    mesh->setVertexBuffer(vertexBuffer, 0);
    mesh->setIndexBuffer(indexBuffer);
    mesh->setAppearance(appearance);
    // The mesh holds its own references on each of them now.
    for (object::Object* held : {static_cast<object::Object*>(vertexBuffer), static_cast<object::Object*>(indexBuffer),
                                 static_cast<object::Object*>(material), static_cast<object::Object*>(shader),
                                 static_cast<object::Object*>(appearance)}) {
        held->release();
    }
    return true;
}

bool ViewerView::close()
{
    object::releaseAndClear(mesh);
    object::releaseAndClear(light);
    object::releaseAndClear(mode);
    object::releaseAndClear(camera);
    object::releaseAndClear(root);
    return OpenGL::close();
}

bool ViewerView::resized(math::Point size)
{
    OpenGL::resized(size);
    if (camera && size.y > 0.0f) {
        camera->bottom = -nearHalfHeight;
        camera->height = 2.0f * nearHalfHeight;
        camera->width = camera->height * size.x / size.y;
        camera->left = -0.5f * camera->width;
    }
    return true;
}

void ViewerView::draw()
{
    graphics3d::Context* context = graphics3d::Context::current();
    if (!context || !mesh) {
        return;
    }
    camera->apply();
    context->modes.set(mode);
    glClearColor(0.08f, 0.09f, 0.12f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    context->matrices.setMode(GL_MODELVIEW);
    glLoadIdentity();
    // Set with the identity loaded, so that the light stays put in eye coordinates while the model turns.
    context->lights.set(0, light);
    glEnable(GL_LIGHTING);
    glEnable(GL_CULL_FACE);
    graphics3d::MatrixStack::loadRows(root->viewMatrix().m);
    mesh->render();
}

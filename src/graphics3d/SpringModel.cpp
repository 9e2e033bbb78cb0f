#include "graphics3d/SpringModel.h"

#include <cmath>
#include <cstring>
#include <numbers>
#include <limits>
#include <new>

#include "graphics3d/Context.h"
#include "graphics3d/Counted.h"
#include "graphics3d/Format.h"
#include "graphics3d/IndexBuffer.h"
#include "graphics3d/MatrixStack.h"
#include "graphics3d/ParameterBuffer.h"
#include "graphics3d/Ray.h"
#include "graphics3d/VertexBuffer.h"
#include "math/Matrix4.h"
#include "physics/Relaxator.h"

namespace vardel::graphics3d {

namespace {

// Three floats, 12 bytes.
constexpr std::uint32_t vector3Code = 0xC0324;
// Sixteen floats, 64 bytes.
constexpr std::uint32_t matrixCode = 0x401024;

} // namespace

SpringModel::SpringModel() : relaxator(nullptr), indexEnd(0), normalsLaidOut(false), normalTargets(0)
{
    ParameterFormat position;
    position.addComponent("position", matrixCode, 0);
    parameterFormat.clear();
    parameterFormat.append(position);
    parameterFormat.compact();
    clearJoints();
    resetBounds();

    material.setAmbient(0.2f, 0.1f, 0.1f, 0.0f);
    material.setDiffuse(1.0f, 0.2f, 0.1f, 0.0f);
    material.setSpecular(1.0f, 0.8f, 0.7f, 0.0f);
    material.setEmission(0.0f, 0.0f, 0.0f, 0.0f);
    appearance.setMaterial(&material);
    appearance.setShader(&shader);
    mesh.setPrimitive(GL_TRIANGLES);
    mesh.setAppearance(&appearance);
}

SpringModel::~SpringModel()
{
    // The links hold references on members that must die by their own destructors, not by a release.
    mesh.setAppearance(nullptr);
    appearance.setShader(nullptr);
    appearance.setMaterial(nullptr);
    indices.clear();
    vertices.clear();
    setRelaxator(nullptr);
}

SpringModel* SpringModel::createCloth(unsigned width, unsigned height)
{
    // The springs join each weight to a second row and column; the indices are 32-bit.
    if (width < 2 || height < 2 ||
        std::uint64_t(width) * height * 6 > std::numeric_limits<std::uint32_t>::max())
        return nullptr;
    auto* model = new (std::nothrow) SpringModel();
    if (!model)
        return nullptr;
    auto* solver = new (std::nothrow) Solver();
    if (!solver) {
        model->release();
        return nullptr;
    }
    model->setRelaxator(solver);

    // Each weight in index order: right, lower, lower right, lower left neighbour. The order
    // decides only the order of the solver's floating-point sums.
    solver->setWeightCount(width * height);
    for (unsigned row = 0; row < height; ++row) {
        for (unsigned column = 0; column < width; ++column) {
            unsigned i = row * width + column;
            if (column + 1 < width)
                solver->addSpring(i, i + 1, 1.0f);
            if (row + 1 < height) {
                solver->addSpring(i, i + width, 1.0f);
                if (column + 1 < width)
                    solver->addSpring(i, i + width + 1, 1.0f);
                if (column > 0)
                    solver->addSpring(i, i + width - 1, 1.0f);
            }
            solver->weights[i].position.set(10.0f * (static_cast<float>(row) - static_cast<float>(height) * 0.5f),
                                            10.0f * (static_cast<float>(column) - static_cast<float>(width) * 0.5f),
                                            0.0f);
        }
    }
    solver->captureRest();

    // Two triangles per grid cell, both facing +z while the cloth is flat.
    container::Array<unsigned int> triangles;
    triangles.resize((width - 1) * (height - 1) * 6);
    unsigned int* out = triangles.elements;
    for (unsigned row = 0; row + 1 < height; ++row) {
        for (unsigned column = 0; column + 1 < width; ++column) {
            unsigned p = row * width + column, q = p + 1, r = p + width, s = r + 1;
            for (unsigned corner : {p, r, q, q, r, s})
                *out++ = corner;
        }
    }
    model->setIndices(triangles.elements, triangles.count);
    solver->release();
    return model;
}

SpringModel* SpringModel::createBall(const math::Vector3<float>& centre, float radius, unsigned rings,
                                     unsigned segments)
{
    if (rings < 2 || segments < 3 || rings > 4096 || segments > 4096)
        return nullptr;
    auto* model = new (std::nothrow) SpringModel();
    if (!model)
        return nullptr;
    auto* solver = new (std::nothrow) Solver();
    if (!solver) {
        model->release();
        return nullptr;
    }
    model->setRelaxator(solver);
    solver->release();

    // Weight 0 is the pole at +z, then ring after ring from the top, then the pole at -z.
    const unsigned last = 1 + (rings - 1) * segments;
    solver->setWeightCount(last + 1);
    auto place = [&](unsigned index, double theta, double phi) {
        solver->weights[index].position.set(
            centre.x + radius * static_cast<float>(std::sin(theta) * std::cos(phi)),
            centre.y + radius * static_cast<float>(std::sin(theta) * std::sin(phi)),
            centre.z + radius * static_cast<float>(std::cos(theta)));
    };
    place(0, 0.0, 0.0);
    place(last, std::numbers::pi, 0.0);
    for (unsigned ring = 1; ring < rings; ++ring) {
        for (unsigned segment = 0; segment < segments; ++segment)
            place(1 + (ring - 1) * segments + segment, std::numbers::pi * ring / rings,
                  2.0 * std::numbers::pi * segment / segments);
    }

    // Counter-clockwise seen from outside.
    container::Array<unsigned int> triangles;
    triangles.resize(6 * segments * (rings - 1));
    unsigned int* out = triangles.elements;
    auto at = [segments](unsigned ring, unsigned segment) { return 1 + (ring - 1) * segments + segment % segments; };
    for (unsigned segment = 0; segment < segments; ++segment) {
        for (unsigned corner : {0u, at(1, segment), at(1, segment + 1)})
            *out++ = corner;
        for (unsigned ring = 1; ring + 1 < rings; ++ring) {
            unsigned a = at(ring, segment), b = at(ring + 1, segment);
            unsigned c = at(ring + 1, segment + 1), d = at(ring, segment + 1);
            for (unsigned corner : {a, b, c, a, c, d})
                *out++ = corner;
        }
        for (unsigned corner : {last, at(rings - 1, segment + 1), at(rings - 1, segment)})
            *out++ = corner;
    }
    model->setIndices(triangles.elements, triangles.count);
    return model;
}

void SpringModel::setIndices(const unsigned int* source, unsigned count)
{
    indices.resize(count);
    indexEnd = 0;
    for (unsigned i = 0; i < count; ++i) {
        indices[i] = source[i];
        if (source[i] >= indexEnd)
            indexEnd = source[i] + 1;
    }
    uploadIndices();
}

void SpringModel::uploadIndices()
{
    normalsLaidOut = false;
    IndexBuffer* buffer = IndexBuffer::create(4, indices.count, usage::staticDraw);
    mesh.setIndexBuffer(buffer);
    if (buffer) {
        buffer->write(0, indices.elements, indices.count);
        buffer->release();
    }
}

unsigned SpringModel::removeTrianglesAlong(const std::uint32_t* ends, unsigned pairCount)
{
    auto joins = [](const unsigned int* corner, std::uint32_t a, std::uint32_t b) {
        bool hasA = corner[0] == a || corner[1] == a || corner[2] == a;
        bool hasB = corner[0] == b || corner[1] == b || corner[2] == b;
        return hasA && hasB;
    };
    std::uint32_t kept = 0;
    for (std::uint32_t t = 0; t + 2 < indices.count; t += 3) {
        const unsigned int* corner = &indices[t];
        bool dropped = false;
        for (unsigned pair = 0; pair < pairCount && !dropped; ++pair)
            dropped = joins(corner, ends[2 * pair], ends[2 * pair + 1]);
        if (dropped)
            continue;
        // kept stays a whole triangle behind t or at it, so nothing unread is overwritten.
        for (unsigned i = 0; i < 3; ++i)
            indices[kept++] = corner[i];
    }
    unsigned removed = (indices.count - kept) / 3;
    if (removed) {
        indices.resize(kept);
        uploadIndices();
    }
    return removed;
}

void SpringModel::setRelaxator(Solver* solver)
{
    replaceCounted(relaxator, solver);
}

bool SpringModel::computeVertices()
{
    if (!relaxator)
        return false;
    const std::uint32_t n = relaxator->weights.count;
    if (n == 0 || indexEnd > n)
        return false;
    if (vertices.count != 2 * n)
        vertices.resize(2 * n);
    if (positions.count != n)
        positions.resize(n);
    if (!normalsLaidOut || normalTargets != n)
        layOutNormals(n);

    using Vector = math::Vector3<float>;
    using math::Lanes;
    Vector* vertex = vertices.elements;
    Lanes* position = positions.elements;
    const physics::Weight<float, 3>* weight = relaxator->weights.elements;
    auto extend = [](float value, float& low, float& high) {
        if (value <= low)
            low = value;
        else if (value >= high)
            high = value;
    };
    Vector min = weight[0].position, max = weight[0].position;
    for (std::uint32_t i = 0; i < n; ++i) {
        const Vector& p = weight[i].position;
        position[i] = Lanes{p.x, p.y, p.z, 0.0f};
        vertex[2 * i] = p;
        extend(p.x, min.x, max.x);
        extend(p.y, min.y, max.y);
        extend(p.z, min.z, max.z);
    }
    setBounds(boundsFromBox(min, max));

    // Unnormalised face normals: larger triangles weigh more in the smooth normal. Each vertex
    // sums those of its triangles in the triangles' order, from zero, then is normalised: the
    // bits of adding each face normal to its three corners in turn.
    const unsigned int* index = indices.elements;
    auto faces = [&](std::uint32_t first, std::uint32_t end, Lanes* out) {
        for (std::uint32_t t = first; t < end; ++t) {
            Lanes p0 = position[index[3 * t]];
            *out++ = math::cross(position[index[3 * t + 1]] - p0, position[index[3 * t + 2]] - p0);
        }
    };
    // As Vector3::normalise, four at a time: a zero vector stays as it is.
    auto finish = [&](std::uint32_t group, const Lanes* normal) {
        Lanes x, y, z;
        math::transpose(normal, x, y, z);
        Lanes squares = x * x + y * y + z * z;
        Lanes ones{1.0f, 1.0f, 1.0f, 1.0f};
        Lanes scale = squares > Lanes{} ? ones / math::squareRoot(squares) : ones;
        std::uint32_t count = std::min(4u, n - 4 * group);
#pragma GCC unroll 4
        for (std::uint32_t lane = 0; lane < count; ++lane) {
            Lanes unit = normal[lane] * math::broadcast(scale, static_cast<int>(lane));
            vertex[2 * (4 * group + lane) + 1].set(unit[0], unit[1], unit[2]);
        }
    };
    normalSums.run(faces, finish);
    return true;
}

void SpringModel::layOutNormals(std::uint32_t n)
{
    const std::uint32_t triangles = indices.count / 3;
    const unsigned int* index = indices.elements;
    normalSums.build(n, triangles, 1, [&](auto add) {
        for (std::uint32_t t = 0; t < triangles; ++t)
            for (std::uint32_t corner = 0; corner < 3; ++corner)
                add(index[3 * t + corner], t, 0);
    });
    normalsLaidOut = true;
    normalTargets = n;
}

void SpringModel::update()
{
    if (!computeVertices())
        return;
    const std::uint32_t n = relaxator->weights.count;
    VertexBuffer* buffer = mesh.vertexBuffer(0);
    if (!buffer || buffer->vertexCount != n) {
        VertexFormat format;
        format.addComponent(vector3Code, Shader::vertexArray);
        format.addComponent(vector3Code, Shader::normalArray);
        buffer = VertexBuffer::create(format, n, usage::streamDraw);
        // A failed buffer leaves the mesh without vertices rather than with too few.
        mesh.setVertexBuffer(buffer, 0);
        if (!buffer)
            return;
        buffer->release();
    }
    buffer->write(0, vertices.elements, n);
}

int SpringModel::pick(const Ray& ray, math::Vector3<float>& point) const
{
    if (!relaxator || vertices.count != 2 * relaxator->weights.count || indexEnd > relaxator->weights.count)
        return -1;
    Ray::Hit hit = ray.firstHit(vertices.elements, 2, indices.elements, indices.count);
    if (!hit.found)
        return -1;
    point = hit.point;
    int nearest = -1;
    float best = 0.0f;
    for (std::uint32_t corner = hit.triangle; corner < hit.triangle + 3; ++corner) {
        math::Vector3<float> away = math::Vector3<float>::difference(vertices[2 * indices[corner]], point);
        float distance = away.x * away.x + away.y * away.y + away.z * away.z;
        if (nearest < 0 || distance < best) {
            nearest = static_cast<int>(indices[corner]);
            best = distance;
        }
    }
    return nearest;
}

void SpringModel::render(ParameterBuffer& parameters)
{
    Context* context = Context::get();
    if (!context || parameters.format->size < sizeof(math::Matrix4))
        return;
    context->matrices.setMode(GL_MODELVIEW);
    MatrixStack::loadRows(reinterpret_cast<const float*>(parameters.data()));
    mesh.render();
}

} // namespace vardel::graphics3d

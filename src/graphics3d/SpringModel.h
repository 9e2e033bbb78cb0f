#pragma once

#include "container/Array.h"
#include "graphics3d/Appearance.h"
#include "graphics3d/ColourMaterial.h"
#include "graphics3d/DynamicModel.h"
#include "graphics3d/Forward.h"
#include "graphics3d/IndexMesh.h"
#include "graphics3d/PlainShader.h"
#include "math/ColumnSums.h"
#include "math/Lanes.h"
#include "math/Vector3.h"
#include "physics/Forward.h"

#include <cstdint>

namespace vardel::graphics3d {

// A cloth: a grid of weights joined by springs, simulated by its solver and drawn as smooth-shaded
// indexed triangles with a material of its own. Its parameter block is one row-by-row 4 x 4
// model-view matrix named "position".
class SpringModel : public DynamicModel {
    VARDEL_CLASS_PATH(DynamicModel, SpringModel)

    // The solver type that moves the cloth.
    using Solver = physics::Relaxator<float, 3>;

    // No solver, no vertices and no buffers yet.
    SpringModel();
    // Undoes the links between the embedded objects before they are destroyed.
    ~SpringModel() override;

    // A flat cloth of width x height weights 10 units apart in the plane z = 0, rows along x and
    // columns along y, each weight joined to its right and lower neighbours and to both lower
    // diagonal ones, at rest. Null when a side is below 2, when the grid is too large to index or
    // when an allocation fails.
    static SpringModel* createCloth(unsigned width, unsigned height);
    // A ball of weights and no springs, for a solid that is drawn and never stepped: one weight at
    // each pole and rings - 1 rings of segments weights between them, with triangles facing out.
    // Null when rings is below 2 or segments below 3, or when an allocation fails.
    static SpringModel* createBall(const math::Vector3<float>& centre, float radius, unsigned rings,
                                   unsigned segments);

    // Building
    // Copies the triangle list, three weight indices per triangle, into a static index buffer.
    void setIndices(const unsigned int* source, unsigned count);
    // Drops every triangle that has both weights of a pair among its corners, pairs given as
    // 2 * pairCount weight indices, and rewrites the index buffer; returns how many went.
    unsigned removeTrianglesAlong(const std::uint32_t* ends, unsigned pairCount);
    // Takes a reference on the new solver, gives back the old one.
    void setRelaxator(Solver* solver);

    // Per frame
    // Recomputes the vertices, normals and bounds and sends the vertices to the vertex buffer,
    // which it creates on first use and when the weight count changes. Does nothing without a
    // solver or when the indices name more weights than the solver has.
    void update() override;
    // The part of update that stays on the CPU: vertices, normals and bounds. False when it does
    // nothing, as update.
    bool computeVertices();
    // The weight nearest to where the ray first meets the cloth as last computed by update, or -1
    // when it misses; point becomes that meeting point.
    int pick(const Ray& ray, math::Vector3<float>& point) const;
    // Loads the "position" matrix as the model-view matrix and draws the mesh.
    void render(ParameterBuffer& parameters) override;

    // The shader the cloth is drawn with.
    PlainShader shader;
    // The cloth's appearance: its material and shader.
    Appearance appearance;
    // The cloth's red-orange material.
    ColourMaterial material;
    // The indexed triangles drawn.
    IndexMesh mesh;
    // The solver whose weights the cloth shows, or null.
    Solver* relaxator;
    // Two per weight: position, then normal.
    container::Array<math::Vector3<float>> vertices;
    // Three weight indices per triangle drawn. Changed through setIndices and removeTrianglesAlong,
    // which send it to the index buffer and lay out the sums of the vertices' normals anew.
    container::Array<unsigned int> indices;

private:
    // Sends indices to a new static index buffer of the mesh.
    void uploadIndices();

    // Sums each vertex's face normals as computeVertices needs them, for normalTargets weights and
    // the triangles as the indices were last sent.
    void layOutNormals(std::uint32_t weightCount);
    // 1 + the largest index: the weights the triangles need.
    std::uint32_t indexEnd;
    // The weights' positions, gathered once per update so that the triangles read them from
    // contiguous memory, one vector each.
    container::Array<math::Lanes> positions;
    math::ColumnSums normalSums;
    bool normalsLaidOut;
    std::uint32_t normalTargets;
};

} // namespace vardel::graphics3d

#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A triangle mesh read from a small text file, one statement a line:
//
//   # a comment
//   v X Y Z        a vertex (numbers)
//   f A B C        a triangle of vertices counted from 1, in counter-clockwise order
//
// Blank lines are allowed. The mesh is read through the framework's file and stream.
struct MeshFile {
    // x, y, z of every vertex in turn.
    std::vector<float> positions;
    // Three vertex indices (from 0) per triangle.
    std::vector<std::uint32_t> triangles;

    // Reads path; false with error set to one line, such as "shape.mesh:7: a face needs three
    // vertices", when the file cannot be read or is not a mesh with at least one triangle.
    bool load(const char* path, std::string& error);
};

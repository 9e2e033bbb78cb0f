#pragma once

#include "container/Array.h"
#include "graphics3d/Bounds.h"
#include "graphics3d/ParameterFormat.h"
#include "graphics3d/Resource.h"

#include <cstdint>

namespace vardel::graphics3d {

class ParameterBuffer;

// A joint of an articulated model; no model of this system has any.
struct Joint {};

// Something that draws itself from a block of per-draw parameters laid out by parameterFormat and
// keeps a bounding volume.
class Model : public Resource {
    VARDEL_CLASS_PATH(Resource, Model)

    Model();

    // Drawing
    // Draws the model with the values of parameters, laid out by parameterFormat.
    virtual void render(ParameterBuffer& parameters) = 0;
    // Hooks for subclasses; no model of this system uses them.
    virtual void reservedOperation(std::uintptr_t a, std::uintptr_t b, std::uintptr_t c);
    // Answers false in every model of this system.
    virtual bool reservedQuery();

    // Joints and bounds
    // Drops every joint.
    void clearJoints();
    // Zeroes the half-axes and the auxiliary vector; the center is left as it is.
    void resetBounds();
    // Replaces the bounding volume.
    void setBounds(const Bounds& newBounds);

    // A number the model's owner may use to tell models apart; 0 by default.
    std::int32_t modelTag;
    // Owners replace its contents to describe the parameters render expects.
    ParameterFormat parameterFormat;
    // The joints of an articulated model; empty in this system.
    container::Array<Joint> joints;
    // Not set until the model sets it.
    Bounds bounds;
};

} // namespace vardel::graphics3d

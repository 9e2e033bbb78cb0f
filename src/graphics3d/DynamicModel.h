#pragma once

#include "graphics3d/Model.h"

namespace vardel::graphics3d {

// A model whose geometry changes over time: its owner calls update before each render.
class DynamicModel : public Model {
    VARDEL_CLASS_PATH(Model, DynamicModel)

    // Regenerates the geometry and the bounds from the model's source data.
    virtual void update() = 0;
};

} // namespace vardel::graphics3d

#pragma once

#include "container/Array.h"
#include "object/Object.h"
#include "types/String.h"

namespace vardel::graphics3d {

class Constant;

// The constants a shader holds. The list owns its storage, not the constants.
class ConstantList : public object::Object {
    VARDEL_CLASS_PATH(object::Object, ConstantList)

    ConstantList();

    // The constants, not counted.
    container::Array<Constant*> constants;
};

} // namespace vardel::graphics3d

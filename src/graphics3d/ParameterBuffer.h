#pragma once

#include "object/Object.h"
#include "types/String.h"

namespace vardel::graphics3d {

class ParameterFormat;

// The per-draw values handed to a model's render, laid out by the model's ParameterFormat. One
// allocation holds the object and, directly after it, the values.
class ParameterBuffer : public object::Object {
    VARDEL_CLASS_PATH(object::Object, ParameterBuffer)

    // A buffer of format.size bytes, not initialised; null for a format without components or when
    // the allocation fails. The format must outlive the buffer.
    static ParameterBuffer* create(const ParameterFormat& format);

    // The values, format->size bytes right after the object.
    unsigned char* data() { return reinterpret_cast<unsigned char*>(this + 1); }

    // Frees the single allocation that create made.
    static void operator delete(void* memory) { ::operator delete(memory); }

    // The layout of the values; not owned.
    const ParameterFormat* format;

private:
    explicit ParameterBuffer(const ParameterFormat& format) : format(&format) {}
};

// The values start right after the object: doubles among them must stay aligned.
static_assert(sizeof(ParameterBuffer) % alignof(double) == 0);

} // namespace vardel::graphics3d

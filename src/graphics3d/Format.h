#pragma once

#include "platform/OpenGL.h"

#include <cstdint>

namespace vardel::graphics3d {

// A format code describes one component of a vertex or of a parameter block: bits 0-7 the element
// type (low four bits the bytes per element, 0x10 unsigned, 0x20 floating point), bits 8-15 the
// number of elements and bits 16-23 the size of the whole component in bytes, which may include
// padding.
namespace format {

// The element type: bits 0-7 of the code.
constexpr std::uint32_t elementType(std::uint32_t code)
{
    return code & 0xFF;
}

// How many elements the component has: bits 8-15 of the code.
constexpr std::uint32_t elementCount(std::uint32_t code)
{
    return (code >> 8) & 0xFF;
}

// The bytes of the whole component: bits 16-23 of the code.
constexpr std::uint32_t size(std::uint32_t code)
{
    return (code >> 16) & 0xFF;
}

// The OpenGL type of an element type, or 0 for a type outside the table.
constexpr GLenum glType(std::uint32_t type);

// Whether the elements of a component have a type of the table and fit in its size: only then
// may OpenGL's arrays, bounds and conversions read them, as they read every element.
constexpr bool holdsElements(std::uint32_t code)
{
    return glType(elementType(code)) != 0 && (elementType(code) & 0xF) * elementCount(code) <= size(code);
}

constexpr GLenum glType(std::uint32_t type)
{
    switch (type) {
    case 0x01: return GL_BYTE;
    case 0x02: return GL_SHORT;
    case 0x04: return GL_INT;
    case 0x11: return GL_UNSIGNED_BYTE;
    case 0x12: return GL_UNSIGNED_SHORT;
    case 0x14: return GL_UNSIGNED_INT;
    case 0x24: return GL_FLOAT;
    case 0x28: return GL_DOUBLE;
    default: return 0;
    }
}

// Calls visit with a value of the C++ type of the element type, so that loops over elements are
// compiled once per type. False for a type outside the table.
template <typename Visitor>
bool visitElementType(std::uint32_t type, Visitor&& visit)
{
    switch (type) {
    case 0x01: visit(std::int8_t{}); return true;
    case 0x02: visit(std::int16_t{}); return true;
    case 0x04: visit(std::int32_t{}); return true;
    case 0x11: visit(std::uint8_t{}); return true;
    case 0x12: visit(std::uint16_t{}); return true;
    case 0x14: visit(std::uint32_t{}); return true;
    case 0x24: visit(float{}); return true;
    case 0x28: visit(double{}); return true;
    default: return false;
    }
}

} // namespace format

// Buffer usage codes that creators pass: 1 static, 2 dynamic, 3 stream (rewritten every frame),
// 4 kept in ordinary memory even when buffer objects exist.
namespace usage {

// Written once, drawn many times.
constexpr int staticDraw = 1;
// Rewritten now and then.
constexpr int dynamicDraw = 2;
// Rewritten every frame.
constexpr int streamDraw = 3;
// Kept in ordinary memory.
constexpr int clientMemory = 4;

} // namespace usage

} // namespace vardel::graphics3d

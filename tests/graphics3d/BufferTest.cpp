#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "graphics3d/Format.h"
#include "graphics3d/IndexBuffer.h"
#include "graphics3d/ParameterBuffer.h"
#include "graphics3d/ParameterFormat.h"
#include "graphics3d/Shader.h"
#include "graphics3d/VertexBuffer.h"

using namespace vardel::graphics3d;

// No rendering context exists in this process: every buffer keeps its data in memory.

TEST(VertexFormat, PositionAndNormalMakeTheClothLayout)
{
    VertexFormat format;
    EXPECT_EQ(format.addComponent(0xC0324, Shader::vertexArray), 0);
    EXPECT_EQ(format.addComponent(0xC0324, Shader::normalArray), 1);
    EXPECT_EQ(format.stride, 24u);
    EXPECT_EQ(format.components[0].offset, 0u);
    EXPECT_EQ(format.components[1].offset, 12u);

    VertexBuffer* buffer = VertexBuffer::create(format, 10, 3);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->className(), "Object:Resource:VertexBuffer");
    EXPECT_EQ(buffer->arrays, 0x5u);
    EXPECT_EQ(buffer->arrayTable[0].glType, GLenum(GL_FLOAT));
    EXPECT_EQ(buffer->arrayTable[0].elementCount, 3);
    EXPECT_EQ(buffer->arrayTable[0].offset, 0u);
    EXPECT_EQ(buffer->arrayTable[2].glType, GLenum(GL_FLOAT));
    EXPECT_EQ(buffer->arrayTable[2].elementCount, 3);
    EXPECT_EQ(buffer->arrayTable[2].offset, 12u);
    EXPECT_EQ(buffer->arrayTable[1].glType, 0u);

    buffer->release();
}

TEST(VertexFormat, RefusesOnlyASeventeenthComponent)
{
    VertexFormat format;
    for (int i = 0; i < 16; ++i)
        ASSERT_EQ(format.addComponent(0x40111, Shader::colourArray), i);
    EXPECT_EQ(format.addComponent(0xC0324, Shader::vertexArray), -1);
    EXPECT_EQ(format.componentCount, 16u);
    EXPECT_EQ(format.stride, 64u);

    // A component of an unknown type or too small for its elements is laid out, but a buffer
    // reads nothing through it: three floats in 8 bytes would read past the vertex.
    VertexFormat other;
    EXPECT_EQ(other.addComponent(0xC0325, Shader::colourArray), 0);
    EXPECT_EQ(other.addComponent(0x80324, Shader::vertexArray), 1);
    EXPECT_EQ(other.componentCount, 2u);
    EXPECT_EQ(other.stride, 20u);
    VertexBuffer* buffer = VertexBuffer::create(other, 2, usage::clientMemory);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->arrays, 0u);
    buffer->release();
}

TEST(VertexFormat, aSlotWithoutArraysIsTakenAgainAndMovesTheLaterSlotsOn)
{
    VertexFormat format;
    EXPECT_EQ(format.addComponent(0xC0324, 1), 0);
    EXPECT_EQ(format.addComponent(0xC0324, 4), 1);
    EXPECT_EQ(format.addComponent(0x40411, 0x10), 2);
    format.components[1].arrays = 0;
    EXPECT_EQ(format.addComponent(0x80224, 0x1000), 1);
    EXPECT_EQ(format.components[1].offset, 12u);
    EXPECT_EQ(format.components[1].code, 0x80224u);
    EXPECT_EQ(format.components[2].offset, 32u);
    EXPECT_EQ(format.stride, 36u);
    EXPECT_EQ(format.componentCount, 3u);
    // Past the slots in use, components are appended where the last one ends.
    EXPECT_EQ(format.addComponent(0x40111, 0x10), 3);
    EXPECT_EQ(format.components[3].offset, 36u);

    // A component added without arrays holds its slot only until the next one.
    VertexFormat placeholder;
    EXPECT_EQ(placeholder.addComponent(0xC0324, 0), 0);
    EXPECT_EQ(placeholder.addComponent(0x40411, Shader::colourArray), 0);
    EXPECT_EQ(placeholder.componentCount, 1u);
    EXPECT_EQ(placeholder.components[0].offset, 0u);
    EXPECT_EQ(placeholder.stride, 16u);
}

TEST(VertexBuffer, ArrayTableFollowsEveryBitOfEveryComponent)
{
    VertexFormat format;
    format.addComponent(0x80224, Shader::vertexArray | (Shader::textureCoordinateArray << 1));
    format.addComponent(0x40411, Shader::colourArray);
    // A later component takes over a bit from an earlier one; padding counts in the stride.
    format.addComponent(0x100312, Shader::textureCoordinateArray << 1);
    VertexBuffer* buffer = VertexBuffer::create(format, 1, 4);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->format.stride, 28u);
    EXPECT_EQ(buffer->arrays, 0x2011u);
    EXPECT_EQ(buffer->arrayTable[0].elementCount, 2);
    EXPECT_EQ(buffer->arrayTable[4].glType, GLenum(GL_UNSIGNED_BYTE));
    EXPECT_EQ(buffer->arrayTable[4].offset, 8u);
    EXPECT_EQ(buffer->arrayTable[13].glType, GLenum(GL_UNSIGNED_SHORT));
    EXPECT_EQ(buffer->arrayTable[13].elementCount, 3);
    EXPECT_EQ(buffer->arrayTable[13].offset, 12u);
    EXPECT_EQ(buffer->format.components[1].elementCount, 4);
    buffer->release();
}

TEST(IndexBuffer, TakesOneTwoOrFourByteIndices)
{
    EXPECT_EQ(IndexBuffer::create(3, 6, 1), nullptr);
    EXPECT_EQ(IndexBuffer::create(0, 6, 1), nullptr);
    EXPECT_EQ(IndexBuffer::create(2, 6, 5), nullptr);
    const GLenum types[] = {GL_UNSIGNED_BYTE, GL_UNSIGNED_SHORT, 0, GL_UNSIGNED_INT};
    for (int bytes : {1, 2, 4}) {
        IndexBuffer* buffer = IndexBuffer::create(bytes, 6, 1);
        ASSERT_NE(buffer, nullptr) << bytes;
        EXPECT_EQ(buffer->className(), "Object:Resource:IndexBuffer");
        EXPECT_EQ(buffer->glType, types[bytes - 1]);
        EXPECT_EQ(buffer->usage, GLenum(GL_STATIC_DRAW_ARB));
        const std::uint32_t data[2] = {0x01020304, 0x05060708};
        buffer->write(4, data, 2);
        EXPECT_EQ(std::memcmp(static_cast<unsigned char*>(buffer->memory) + 4 * bytes, data, 2 * bytes), 0);
        buffer->release();
    }
}

TEST(ParameterFormat, AppendPlacesComponentsAfterTheBlock)
{
    ParameterFormat position;
    position.addComponent("position", 0x401024, 0);
    EXPECT_EQ(position.size, 64u);

    ParameterFormat block;
    block.append(position);
    ASSERT_EQ(block.components.count, 1u);
    EXPECT_EQ(block.components[0].offset, 0u);
    block.append(position);
    ASSERT_EQ(block.components.count, 2u);
    EXPECT_STREQ(block.components[1].name, "position");
    EXPECT_EQ(block.components[1].offset, 64u);
    EXPECT_EQ(block.size, 128u);
    block.append(block);
    ASSERT_EQ(block.components.count, 4u);
    EXPECT_EQ(block.components[3].offset, 192u);
    EXPECT_EQ(block.size, 256u);

    std::string longName(100, 'n');
    block.addComponent(longName.c_str(), 0x40424, 256);
    EXPECT_EQ(std::strlen(block.components[4].name), 64u);
    block.clear();
    EXPECT_EQ(block.components.count, 0u);
    EXPECT_EQ(block.components.elements, nullptr);
    EXPECT_EQ(block.size, 0u);
}

TEST(ParameterFormat, CompactDropsEmptyCodesAndFitsTheStorage)
{
    ParameterFormat format;
    format.addComponent("a", 5, 0);
    format.addComponent("b", 0, 0);
    format.addComponent("c", 7, 0);
    format.compact();
    ASSERT_EQ(format.components.count, 2u);
    EXPECT_EQ(format.components.capacity, 2u);
    EXPECT_EQ(format.components[0].code, 5u);
    EXPECT_STREQ(format.components[1].name, "c");

    ParameterFormat empty;
    empty.addComponent("gone", 0, 0);
    empty.compact();
    EXPECT_EQ(empty.components.count, 0u);
    EXPECT_EQ(empty.components.elements, nullptr);
}

TEST(ParameterBuffer, HoldsTheBlockAfterItself)
{
    ParameterFormat format;
    EXPECT_EQ(ParameterBuffer::create(format), nullptr);
    format.addComponent("position", 0x401024, 0);
    ParameterBuffer* buffer = ParameterBuffer::create(format);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->className(), "Object:ParameterBuffer");
    EXPECT_EQ(buffer->data(), reinterpret_cast<unsigned char*>(buffer) + sizeof(ParameterBuffer));
    buffer->release();
}

#include <gtest/gtest.h>

#ifndef _WIN32
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ClothScene.h"
#include "support/GLWindow.h"
#include "geometry/TriangleMesh3.h"
#include "graphics3d/Context.h"
#include "graphics3d/Extensions.h"
#include "graphics3d/IndexBuffer.h"
#include "graphics3d/ParameterBuffer.h"
#include "graphics3d/Shader.h"
#include "graphics3d/SpringModel.h"
#include "graphics3d/VertexBuffer.h"

#ifndef _WIN32
extern char** environ;
#endif

using namespace vardel::graphics3d;

namespace {

// Set in the child that draws without buffer objects: where it leaves its pixels.
const char* const pixelFileVariable = "VARDEL_CLOTH_PIXELS";

constexpr int frameWidth = 96;
constexpr int frameHeight = 80;

VertexFormat positionFormat(std::uint32_t code = 0xC0324)
{
    VertexFormat format;
    format.addComponent(code, Shader::vertexArray);
    return format;
}

bool bufferMapped(GLenum target, GLuint id)
{
    glBindBufferARB(target, id);
    GLint mapped = GL_TRUE;
    glGetBufferParameterivARB(target, GL_BUFFER_MAPPED_ARB, &mapped);
    return mapped == GL_TRUE;
}

#ifndef _WIN32
// Runs this test binary again for one test with extra variables; its exit status.
int runChild(const char* filter, const std::vector<std::string>& variables)
{
    std::vector<std::string> environment(variables);
    for (char** variable = environ; *variable; ++variable)
        environment.emplace_back(*variable);
    std::vector<char*> envp;
    for (std::string& variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    std::string self = "/proc/self/exe", filterArgument = std::string("--gtest_filter=") + filter;
    char* argv[] = {self.data(), filterArgument.data(), nullptr};
    pid_t child;
    if (posix_spawn(&child, self.c_str(), nullptr, nullptr, argv, envp.data()) != 0)
        return -1;
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

} // namespace

TEST_F(GLTest, BuffersUseObjectsUnlessKeptInMemory)
{
    if (std::getenv(pixelFileVariable))
        GTEST_SKIP() << "drawing child";
    ASSERT_TRUE(Buffer::objectsAvailable());
    VertexFormat format = positionFormat();
    VertexBuffer* stream = VertexBuffer::create(format, 3, 3);
    VertexBuffer* memory = VertexBuffer::create(format, 3, 4);
    IndexBuffer* indices = IndexBuffer::create(2, 3, 1);
    ASSERT_TRUE(stream && memory && indices);
    EXPECT_NE(stream->bufferId, 0u);
    EXPECT_EQ(stream->memory, nullptr);
    EXPECT_EQ(stream->usage, GLenum(GL_STREAM_DRAW_ARB));
    EXPECT_EQ(memory->bufferId, 0u);
    EXPECT_NE(memory->memory, nullptr);
    EXPECT_EQ(memory->usage, GLenum(GL_DYNAMIC_DRAW_ARB));
    EXPECT_NE(indices->bufferId, 0u);
    EXPECT_EQ(IndexBuffer::create(2, 3, 7), nullptr);

    // What is written is what a read-only mapping shows; unmapping hands the object back.
    const float data[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    stream->write(1, data + 3, 2);
    stream->write(0, data, 1);
    const unsigned char* mapped = stream->mapForReading();
    ASSERT_NE(mapped, nullptr);
    EXPECT_TRUE(stream->mapped);
    EXPECT_EQ(std::memcmp(mapped, data, sizeof(data)), 0);
    stream->unmap();
    EXPECT_FALSE(stream->mapped);
    EXPECT_EQ(stream->memory, nullptr);
    EXPECT_FALSE(bufferMapped(GL_ARRAY_BUFFER_ARB, stream->bufferId));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    GLuint id = stream->bufferId;
    stream->release();
    EXPECT_FALSE(glIsBufferARB(id));
    memory->release();
    indices->release();
}

TEST_F(GLTest, MeshesReadBufferObjectsThroughAMapping)
{
    if (std::getenv(pixelFileVariable))
        GTEST_SKIP() << "drawing child";
    VertexBuffer* vertices = VertexBuffer::create(positionFormat(0x100424), 4, 1);
    IndexBuffer* indices = IndexBuffer::create(2, 4, 1);
    ASSERT_TRUE(vertices && indices);
    const float positions[16] = {0, 0, 0, 1, 4, 0, 0, 1, 0, 6, -2, 1, 4, 6, 8, 1};
    const std::uint16_t strip[4] = {0, 1, 2, 3};
    vertices->write(0, positions, 4);
    indices->write(0, strip, 4);
    IndexMesh mesh;
    mesh.setVertexBuffer(vertices, 0);
    mesh.setIndexBuffer(indices);
    mesh.setPrimitive(GL_TRIANGLE_STRIP);

    Bounds bounds;
    ASSERT_TRUE(mesh.computeBounds(bounds));
    EXPECT_FLOAT_EQ(bounds.center.x, 2.0f);
    EXPECT_FLOAT_EQ(bounds.center.z, 3.0f);
    EXPECT_FLOAT_EQ(bounds.axisY.y, 3.0f);
    vardel::geometry::TriangleMesh3<float>* triangles = mesh.toTriangleMesh();
    ASSERT_NE(triangles, nullptr);
    EXPECT_EQ(triangles->vertices.count, 4u);
    EXPECT_FLOAT_EQ(triangles->vertices[3].z, 8.0f);
    ASSERT_EQ(triangles->triangleIndices.count, 6u);
    EXPECT_EQ(triangles->triangleIndices[3], 2u);
    EXPECT_EQ(triangles->triangleIndices[4], 1u);
    triangles->release();
    EXPECT_FALSE(vertices->mapped);
    EXPECT_FALSE(bufferMapped(GL_ARRAY_BUFFER_ARB, vertices->bufferId));
    EXPECT_FALSE(bufferMapped(GL_ELEMENT_ARRAY_BUFFER_ARB, indices->bufferId));

    // Drawing records the index array in the Context: an offset into the bound object.
    mesh.render();
    EXPECT_EQ(context->indexPointer, nullptr);
    EXPECT_EQ(context->indexType, GLenum(GL_UNSIGNED_SHORT));
    EXPECT_EQ(context->indexSize, 2);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    vertices->release();
    indices->release();
}

TEST_F(GLTest, ClothStreamsIntoOneBufferAndLoadsItsMatrix)
{
    if (std::getenv(pixelFileVariable))
        GTEST_SKIP() << "drawing child";
    SpringModel* cloth = SpringModel::createCloth(50, 50);
    ASSERT_NE(cloth, nullptr);
    EXPECT_NE(cloth->mesh.indexBuffer->bufferId, 0u);
    cloth->update();
    VertexBuffer* buffer = cloth->mesh.vertexBuffer(0);
    ASSERT_NE(buffer, nullptr);
    EXPECT_NE(buffer->bufferId, 0u);
    EXPECT_EQ(buffer->usage, GLenum(GL_STREAM_DRAW_ARB));
    cloth->update();
    EXPECT_EQ(cloth->mesh.vertexBuffer(0), buffer);

    ParameterBuffer* parameters = ParameterBuffer::create(cloth->parameterFormat);
    float rows[16];
    for (int i = 0; i < 16; ++i)
        rows[i] = float(i + 1);
    std::memcpy(parameters->data(), rows, sizeof(rows));
    glMatrixMode(GL_PROJECTION);
    context->matrices.mode = GL_PROJECTION;
    cloth->render(*parameters);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    float loaded[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, loaded);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(loaded[4 * c + r], rows[4 * r + c]) << r << "," << c;
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    parameters->release();
    cloth->release();
}

// The child run of this test draws with client memory (buffer objects removed from the driver)
// and leaves its pixels in a file; the parent draws with buffer objects and compares.
TEST_F(GLTest, ClothLooksTheSameWithAndWithoutBufferObjects)
{
    const char* pixelFile = std::getenv(pixelFileVariable);
    ClothScene scene(context, frameWidth, frameHeight);
    scene.draw();
    std::vector<unsigned char> pixels = scene.readPixels();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    const bool objects = scene.cloth->mesh.vertexBuffer(0)->bufferId != 0;
    if (pixelFile) {
        ASSERT_FALSE(objects);
        ASSERT_EQ(scene.cloth->mesh.indexBuffer->bufferId, 0u);
        std::ofstream(pixelFile, std::ios::binary)
            .write(reinterpret_cast<const char*>(pixels.data()), std::streamsize(pixels.size()));
        return;
    }
    ASSERT_TRUE(objects);

    // The cloth fills the middle of the view, lit in its own reddish colour; the corners stay clear.
    auto at = [&pixels](int x, int y) { return &pixels[(y * frameWidth + x) * 4]; };
    const unsigned char* middle = at(frameWidth / 2, frameHeight / 2);
    EXPECT_GT(middle[0], 100);
    EXPECT_GT(middle[0], middle[2]);
    const unsigned char* corner = at(1, 1);
    EXPECT_EQ(corner[0] + corner[1] + corner[2], 0);

#ifdef _WIN32
    GTEST_SKIP() << "the run without buffer objects needs the driver's extension override in a spawned child";
#else
    std::string path = testing::TempDir() + "cloth-pixels-" + std::to_string(getpid());
    int status = runChild("GLTest.ClothLooksTheSameWithAndWithoutBufferObjects",
                          {"MESA_EXTENSION_OVERRIDE=-GL_ARB_vertex_buffer_object", std::string(pixelFileVariable) + "=" + path});
    ASSERT_EQ(status, 0);
    std::ifstream input(path, std::ios::binary);
    std::vector<unsigned char> clientPixels((std::istreambuf_iterator<char>(input)), std::istreambuf_iterator<char>());
    std::remove(path.c_str());
    ASSERT_EQ(clientPixels.size(), pixels.size());
    EXPECT_TRUE(clientPixels == pixels);
#endif
}

TEST_F(GLTest, DemoFramesSagTheClothBetweenItsPinnedCorners)
{
    if (std::getenv(pixelFileVariable))
        GTEST_SKIP() << "drawing child";
    ClothScene scene(context, frameWidth, frameHeight);
    scene.draw();
    std::vector<unsigned char> first = scene.readPixels();
    for (int frame = 0; frame < 40; ++frame) {
        scene.step();
        scene.draw();
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_TRUE(scene.readPixels() != first);

    const SpringModel& cloth = *scene.cloth;
    const auto& weights = cloth.relaxator->weights;
    EXPECT_EQ(weights[0].position.z, 0.0f);
    EXPECT_EQ(weights[2499].position.x, 240.0f);
    EXPECT_LT(weights[1275].position.z, -10.0f);
    // The box reaches from the sagging middle up to the corners; the normals stay unit length.
    EXPECT_FLOAT_EQ(cloth.bounds.center.z - cloth.bounds.axisZ.z, weights[1275].position.z);
    EXPECT_FLOAT_EQ(cloth.bounds.center.z + cloth.bounds.axisZ.z, 0.0f);
    for (std::uint32_t i = 1; i < cloth.vertices.count; i += 2)
        ASSERT_NEAR(cloth.vertices[i].length(), 1.0f, 1e-5f) << i / 2;
}

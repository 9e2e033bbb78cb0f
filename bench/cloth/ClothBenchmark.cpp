#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "ClothScene.h"
#include "support/GLWindow.h"
#include "graphics3d/Context.h"
#include "graphics3d/SpringModel.h"
#include "physics/Relaxator.h"

using vardel::graphics3d::Context;
using vardel::graphics3d::SpringModel;

namespace {

// One hidden window and context for every benchmark, made on the main thread.
struct OffScreen {
    OffScreen() : window(200, 160), context(window.context ? Context::lookup() : nullptr) {}
    GLWindow window;
    Context* context;
};

OffScreen& offScreen()
{
    static OffScreen instance;
    return instance;
}

// A cloth that has sagged for a while, so that the normals are not all alike.
SpringModel* saggedCloth()
{
    ClothScene scene(offScreen().context, 200, 160);
    scene.cloth->retain();
    for (int i = 0; i < 100; ++i)
        scene.step();
    return scene.cloth;
}

// The model's vertex work written plainly over flat arrays: the reference update is timed against.
struct PlainVertices {
    explicit PlainVertices(const SpringModel& model)
        : indices(model.indices.begin(), model.indices.end()), out(model.relaxator->weights.count * 6)
    {
        for (const auto& weight : model.relaxator->weights) {
            positions.push_back(weight.position.x);
            positions.push_back(weight.position.y);
            positions.push_back(weight.position.z);
        }
    }

    void compute()
    {
        const std::size_t n = positions.size() / 3;
        for (std::size_t i = 0; i < n; ++i) {
            for (int k = 0; k < 3; ++k) {
                out[6 * i + k] = positions[3 * i + k];
                out[6 * i + 3 + k] = 0.0f;
            }
        }
        for (std::size_t t = 0; t + 2 < indices.size(); t += 3) {
            float* p0 = &out[6 * indices[t]];
            float* p1 = &out[6 * indices[t + 1]];
            float* p2 = &out[6 * indices[t + 2]];
            float ax = p1[0] - p0[0], ay = p1[1] - p0[1], az = p1[2] - p0[2];
            float bx = p2[0] - p0[0], by = p2[1] - p0[1], bz = p2[2] - p0[2];
            float nx = ay * bz - az * by, ny = az * bx - ax * bz, nz = ax * by - ay * bx;
            for (float* p : {p0, p1, p2}) {
                p[3] += nx;
                p[4] += ny;
                p[5] += nz;
            }
        }
        for (int k = 0; k < 3; ++k)
            min[k] = max[k] = out[k];
        for (std::size_t i = 0; i < n; ++i) {
            float* v = &out[6 * i];
            for (int k = 0; k < 3; ++k) {
                if (v[k] <= min[k])
                    min[k] = v[k];
                else if (v[k] >= max[k])
                    max[k] = v[k];
            }
            float s = v[3] * v[3] + v[4] * v[4] + v[5] * v[5];
            if (s > 0) {
                float k = 1.0f / std::sqrt(s);
                v[3] *= k;
                v[4] *= k;
                v[5] *= k;
            }
        }
    }

    std::vector<float> positions;
    std::vector<std::uint32_t> indices;
    std::vector<float> out;
    float min[3], max[3];
};

bool requireContext(benchmark::State& state)
{
    if (offScreen().context)
        return true;
    state.SkipWithError("no OpenGL context");
    return false;
}

// One cloth update: positions, normals, bounds and the write into the stream buffer object.
void clothUpdate(benchmark::State& state)
{
    if (!requireContext(state))
        return;
    SpringModel* cloth = saggedCloth();
    cloth->update();
    for (auto _ : state) {
        cloth->update();
        benchmark::ClobberMemory();
    }
    cloth->release();
}

// The same without the buffer write.
void clothVertices(benchmark::State& state)
{
    if (!requireContext(state))
        return;
    SpringModel* cloth = saggedCloth();
    for (auto _ : state) {
        cloth->computeVertices();
        benchmark::ClobberMemory();
    }
    cloth->release();
}

// The vertex work over flat arrays.
void plainVertices(benchmark::State& state)
{
    if (!requireContext(state))
        return;
    SpringModel* cloth = saggedCloth();
    PlainVertices plain(*cloth);
    cloth->release();
    for (auto _ : state) {
        plain.compute();
        benchmark::DoNotOptimize(plain.out.data());
        benchmark::ClobberMemory();
    }
}

// The demo's whole frame off screen: update, render and step, finished by the driver.
void clothFrame(benchmark::State& state)
{
    if (!requireContext(state))
        return;
    ClothScene scene(offScreen().context, 200, 160);
    for (auto _ : state) {
        scene.draw();
        scene.step();
        glFinish();
    }
}

} // namespace

BENCHMARK(clothUpdate)->Unit(benchmark::kMicrosecond);
BENCHMARK(clothVertices)->Unit(benchmark::kMicrosecond);
BENCHMARK(plainVertices)->Unit(benchmark::kMicrosecond);
BENCHMARK(clothFrame)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "BestRuns.h"
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

constexpr int sides[] = {50, 100, 200, 400};

// A side x side cloth pinned at its corners that has sagged for a while, as the demo's does, so
// that the normals are not all alike.
SpringModel* saggedCloth(int side)
{
    auto n = static_cast<unsigned>(side);
    SpringModel* cloth = SpringModel::createCloth(n, n);
    auto& solver = *cloth->relaxator;
    for (unsigned corner : {0u, n - 1, n * (n - 1), n * n - 1})
        solver.weights[corner].pinned = true;
    solver.gravity.set(0.0f, 0.0f, -9.8f);
    solver.uniformStiffness = 60.0f;
    solver.damping = 0.1f;
    solver.recordsSprings = false;
    for (int i = 0; i < 100; ++i)
        solver.step(ClothScene::integrateWeight, 0.05f);
    return cloth;
}

// The model's vertex work written plainly over flat arrays: the reference update is timed against.
// The triangles read the positions from their own array, not from beside the normals being summed,
// and each vertex is written whole before any normal is summed: the fastest of the simple loops
// tried, at -O2 and at -O3 alike.
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
            out[6 * i] = positions[3 * i];
            out[6 * i + 1] = positions[3 * i + 1];
            out[6 * i + 2] = positions[3 * i + 2];
            out[6 * i + 3] = 0.0f;
            out[6 * i + 4] = 0.0f;
            out[6 * i + 5] = 0.0f;
        }
        for (std::size_t t = 0; t + 2 < indices.size(); t += 3) {
            const float* q0 = &positions[3 * indices[t]];
            const float* q1 = &positions[3 * indices[t + 1]];
            const float* q2 = &positions[3 * indices[t + 2]];
            float ax = q1[0] - q0[0], ay = q1[1] - q0[1], az = q1[2] - q0[2];
            float bx = q2[0] - q0[0], by = q2[1] - q0[1], bz = q2[2] - q0[2];
            float nx = ay * bz - az * by, ny = az * bx - ax * bz, nz = ax * by - ay * bx;
            float* n0 = &out[6 * indices[t] + 3];
            float* n1 = &out[6 * indices[t + 1] + 3];
            float* n2 = &out[6 * indices[t + 2] + 3];
            for (float* normal : {n0, n1, n2}) {
                normal[0] += nx;
                normal[1] += ny;
                normal[2] += nz;
            }
        }
        for (int k = 0; k < 3; ++k)
            min[k] = max[k] = positions[k];
        for (std::size_t i = 0; i < n; ++i) {
            const float* p = &positions[3 * i];
            for (int k = 0; k < 3; ++k) {
                if (p[k] <= min[k])
                    min[k] = p[k];
                else if (p[k] >= max[k])
                    max[k] = p[k];
            }
            float* v = &out[6 * i + 3];
            float s = v[0] * v[0] + v[1] * v[1] + v[2] * v[2];
            if (s > 0) {
                float k = 1.0f / std::sqrt(s);
                v[0] *= k;
                v[1] *= k;
                v[2] *= k;
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
    SpringModel* cloth = saggedCloth(static_cast<int>(state.range(0)));
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
    SpringModel* cloth = saggedCloth(static_cast<int>(state.range(0)));
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
    SpringModel* cloth = saggedCloth(static_cast<int>(state.range(0)));
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

void sizes(benchmark::internal::Benchmark* benchmark)
{
    for (int side : sides)
        benchmark->Arg(side);
}

BENCHMARK(clothUpdate)->Apply(sizes)->Unit(benchmark::kMicrosecond)->Repetitions(3);
BENCHMARK(clothVertices)->Apply(sizes)->Unit(benchmark::kMicrosecond)->Repetitions(3);
BENCHMARK(plainVertices)->Apply(sizes)->Unit(benchmark::kMicrosecond)->Repetitions(3);
BENCHMARK(clothFrame)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    BestRuns reporter;
    if (!runInterleaved(argc, argv, reporter))
        return 1;

    std::printf("cloth vertex work, best of repetitions, CPU time (us)\n");
    for (int side : sides) {
        std::string arg = "/" + std::to_string(side);
        double model = reporter.find("clothVertices" + arg).cpu;
        double plain = reporter.find("plainVertices" + arg).cpu;
        double update = reporter.find("clothUpdate" + arg).cpu;
        if (model > 0 && plain > 0)
            std::printf("side %3d: flat arrays %8.1f; model %8.1f, ratio %.3f; update with the buffer write %8.1f\n",
                        side, plain, model, model / plain, update);
    }
    return 0;
}

#include <benchmark/benchmark.h>

#include <string>

#include "support/FontFiles.h"
#include "freetype/Descriptor.h"
#include "freetype/Font.h"
#include "freetype/FontFactory.h"
#include "io/SystemFile.h"

using namespace vardel::freetype;
using vardel::io::File;

namespace {

// Opening DejaVu Sans and rendering its atlas at 24 x 24 pixels, as a font request does once a
// file is chosen.
void loadFont(benchmark::State& state)
{
    TempFolder folder;
    std::string path = copyFont(folder, "DejaVuSans.ttf", "sans.ttf");
    Descriptor wanted;
    wanted.width = 24;
    wanted.height = 24;
    for (auto _ : state) {
        File* file = File::open(path.c_str(), File::readAccess);
        Font* font = Font::loadFont(wanted, *file);
        file->release();
        benchmark::DoNotOptimize(font);
        font->release();
    }
}

// Probing a folder of 20 font files.
void scanFolder(benchmark::State& state)
{
    TempFolder folder;
    const char* installed[] = {"DejaVuSans.ttf",     "DejaVuSans-Bold.ttf", "DejaVuSansMono.ttf",
                               "DejaVuSansMono-Bold.ttf", "DejaVuSerif.ttf", "DejaVuSerif-Bold.ttf"};
    for (int i = 0; i < 20; ++i) {
        copyFont(folder, installed[i % 6], "font" + std::to_string(i) + ".ttf");
    }
    FontFactory factory;
    for (auto _ : state) {
        factory.scan(folder.path.c_str());
        benchmark::DoNotOptimize(factory.fonts.count);
    }
    state.counters["fonts"] = factory.fonts.count;
}

} // namespace

BENCHMARK(loadFont)->Unit(benchmark::kMillisecond);
BENCHMARK(scanFolder)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

#include "math/ColumnSums.h"

namespace vardel::math {

ColumnSums::ColumnSums() : targetCount(0), sourceCount(0), valuesPerSource(1), ringSources(0) {}

void ColumnSums::begin(std::uint32_t targets, std::uint32_t sources, std::uint32_t perSource)
{
    targetCount = targets;
    sourceCount = sources;
    valuesPerSource = perSource;
    const std::uint32_t groups = (targets + 3) / 4;
    columns.resize(targets);
    std::fill(columns.begin(), columns.end(), 0u);
    groupOldest.resize(groups);
    std::fill(groupOldest.begin(), groupOldest.end(), sources);
    groupReady.resize(groups);
    std::fill(groupReady.begin(), groupReady.end(), 0u);
}

void ColumnSums::count(std::uint32_t target, std::uint32_t source)
{
    ++columns[target];
    std::uint32_t group = target / 4;
    groupOldest[group] = std::min(groupOldest[group], source);
    groupReady[group] = source + 1;
}

void ColumnSums::arrange()
{
    const std::uint32_t groups = groupReady.count;
    firstRow.resize(groups + 1);
    firstRow[0] = 0;
    for (std::uint32_t group = 0; group < groups; ++group) {
        const std::uint32_t* column = columns.elements + 4 * group;
        const std::uint32_t* end = columns.elements + std::min(targetCount, 4 * group + 4);
        firstRow[group + 1] = firstRow[group] + 4 * *std::max_element(column, end);
    }
    // The ring must hold, in whole chunks, every source from the oldest one a group still needs to
    // the last one computed, as run goes through them: for a cloth, a row's springs and a chunk.
    std::uint32_t window = chunk;
    std::uint32_t group = 0;
    for (std::uint32_t first = 0; first < sourceCount || group < groups; first += chunk) {
        const std::uint32_t end = std::min(first + chunk, sourceCount);
        for (; group < groups && (groupReady[group] <= end || end == sourceCount); ++group)
            window = std::max(window, end - std::min(groupOldest[group], end));
    }
    ringSources = std::min((window + chunk - 1) / chunk, (sourceCount + chunk - 1) / chunk) * chunk;
    ring.resize(ringSources * valuesPerSource + 1);
    ring[ringSources * valuesPerSource] = Lanes{-0.0f, -0.0f, -0.0f, -0.0f};
    entries.resize(firstRow[groups]);
    std::fill(entries.begin(), entries.end(), padding());
    std::fill(columns.begin(), columns.end(), 0u);
}

void ColumnSums::place(std::uint32_t target, std::uint32_t source, std::uint32_t value)
{
    std::uint32_t slot = (source % ringSources) * valuesPerSource + value;
    entries[firstRow[target / 4] + 4 * columns[target]++ + target % 4] = slot * std::uint32_t{sizeof(Lanes)};
}

} // namespace vardel::math

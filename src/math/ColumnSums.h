#pragma once

#include <algorithm>
#include <cstdint>

#include "container/Array.h"
#include "math/Lanes.h"

namespace vardel::math {

// Sums of vectors for many targets (weights, vertices), each target's values added in an order of
// its own; the values come from sources (springs, triangles) computed in order, a chunk at a time.
// A target's sum is a chain of additions that keeps that order, so it comes out bit for bit as
// from a loop that adds each source's values to its targets in turn. Four targets are summed side
// by side: four independent chains keep the adder busy where one would wait on each result. The
// targets are grouped by four in index order; a group is summed as soon as the last source it
// needs is computed, while the values are still in the caches, and the values live in a ring that
// holds only as many sources as the groups still need.
class ColumnSums {
public:
    // Sources per chunk; a multiple of four.
    static constexpr std::uint32_t chunk = 256;

    ColumnSums();

    // Lays out targets targets over sources sources of valuesPerSource values each. visit(add)
    // calls add(target, source, value) for every value a target takes, in its order, with sources
    // never decreasing from one call to the next; visit is called twice.
    template <typename Visit>
    void build(std::uint32_t targets, std::uint32_t sources, std::uint32_t valuesPerSource, Visit visit)
    {
        begin(targets, sources, valuesPerSource);
        visit([this](std::uint32_t target, std::uint32_t source, std::uint32_t) { count(target, source); });
        arrange();
        visit([this](std::uint32_t target, std::uint32_t source, std::uint32_t value) {
            place(target, source, value);
        });
    }

    // Computes the sums. For each chunk, compute(first, end, out) writes the values of sources
    // first to end - 1 to out in source order, valuesPerSource each; out has room for a whole
    // chunk, so that compute may work in fours past end. Then for each group that has
    // all its sources, start(group, sums) sets the group's four sums; term(lane, entry) gives what
    // an entry adds to the sum of that lane, normally at(values(), entry); finish(group, sums)
    // takes the results. The lanes of a last group past the targets sum only padding.
    template <typename Compute, typename Start, typename Term, typename Finish>
    void run(Compute compute, Start start, Term term, Finish finish) const
    {
        const std::uint32_t groups = groupReady.count;
        std::uint32_t group = 0;
        for (std::uint32_t first = 0; first < sourceCount; first += chunk) {
            const std::uint32_t end = first + std::min(chunk, sourceCount - first);
            compute(first, end, ring.elements + (first % ringSources) * valuesPerSource);
            std::uint32_t ready = group;
            while (ready < groups && groupReady[ready] <= end)
                ++ready;
            sum(group, ready, start, term, finish);
            group = ready;
        }
        sum(group, groups, start, term, finish);
    }

    // The same with sums that start from zero and entries that add their values as they are.
    template <typename Compute, typename Finish>
    void run(Compute compute, Finish finish) const
    {
        auto zero = [](std::uint32_t, Lanes* sums) {
#pragma GCC unroll 4
            for (std::uint32_t lane = 0; lane < 4; ++lane)
                sums[lane] = Lanes{};
        };
        const Lanes* base = values();
        auto value = [base](std::uint32_t, std::uint32_t entry) { return at(base, entry); };
        run(compute, zero, value, finish);
    }

    // What the entries give to term are offsets in bytes from here.
    const Lanes* values() const { return ring.elements; }
    // The entry past the end of a target's column: four negative zeros, which leave any sum as it is.
    std::uint32_t padding() const { return ringSources * valuesPerSource * std::uint32_t{sizeof(Lanes)}; }

private:
    void begin(std::uint32_t targets, std::uint32_t sources, std::uint32_t perSource);
    void count(std::uint32_t target, std::uint32_t source);
    // Sizes the rows and the ring once every entry is counted.
    void arrange();
    void place(std::uint32_t target, std::uint32_t source, std::uint32_t value);

    template <typename Start, typename Term, typename Finish>
    void sum(std::uint32_t firstGroup, std::uint32_t endGroup, Start start, Term term, Finish finish) const
    {
        const std::uint32_t* entry = entries.elements + firstRow[firstGroup];
        for (std::uint32_t group = firstGroup; group < endGroup; ++group) {
            Lanes sums[4];
            start(group, sums);
            const std::uint32_t* end = entries.elements + firstRow[group + 1];
            for (; entry != end; entry += 4) {
#pragma GCC unroll 4
                for (std::uint32_t lane = 0; lane < 4; ++lane)
                    sums[lane] += term(lane, entry[lane]);
            }
            finish(group, sums);
        }
    }

    std::uint32_t targetCount;
    std::uint32_t sourceCount;
    std::uint32_t valuesPerSource;
    // Per group, where its rows start in entries; one more ends the last group.
    container::Array<std::uint32_t> firstRow;
    // Per group, row by row, one entry per target of the group: where the value it adds is, or
    // padding past the end of the target's column.
    container::Array<std::uint32_t> entries;
    // Per group, one more than the last source it needs, or 0 without any.
    container::Array<std::uint32_t> groupReady;
    // Per group, the first source it needs, or sourceCount without any; while laying out.
    container::Array<std::uint32_t> groupOldest;
    // Per target, its entries so far; while laying out.
    container::Array<std::uint32_t> columns;
    // The values of ringSources sources, then the padding.
    container::Array<Lanes> ring;
    std::uint32_t ringSources;
};

} // namespace vardel::math

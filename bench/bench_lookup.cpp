// One Chiron lookup, for each way through it: how much of the date it reads depends on whether
// the year and the month hold a change of sign.
#include "Statistics.h"

#include "core/ChironPlacement.h"

#include <QString>

#include <array>

#include <benchmark/benchmark.h>

using namespace woundwell;
using namespace woundwell::bench;
using namespace Qt::StringLiterals;

namespace {

struct OneDate {
    const char *label;
    QString year, month, day;
};

const std::array<OneDate, 4> &oneDates() {
    static const std::array<OneDate, 4> list{{
        {"year without a change", u"1936"_s, u"July"_s, u"15"_s},
        {"month without a change", u"1933"_s, u"March"_s, u"10"_s},
        {"month with a change", u"1933"_s, u"June"_s, u"7"_s},
        {"last month of the last change year", u"2010"_s, u"December"_s, u"31"_s},
    }};
    return list;
}

void BM_Lookup_One(benchmark::State &state) {
    const OneDate &d = oneDates()[static_cast<std::size_t>(state.range(0))];
    QStringView year = d.year, month = d.month, day = d.day;
    for (auto _ : state) {
        benchmark::DoNotOptimize(year);
        benchmark::DoNotOptimize(month);
        benchmark::DoNotOptimize(day);
        std::optional<Sign> sign = lookupChironSign(year, month, day);
        benchmark::DoNotOptimize(sign);
    }
    state.SetLabel(d.label);
}
BENCHMARK(BM_Lookup_One)->ComputeStatistics("min", minOf)->DenseRange(0, 3);

} // namespace

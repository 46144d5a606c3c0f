// The plain functions behind the birth-data window: the Chiron lookup over every date the lists
// offer, and the birth-data checks.
#include "DateTexts.h"
#include "Statistics.h"
#include "SweepFloor.h"

#include "core/BirthData.h"
#include "core/ChironPlacement.h"

#include <benchmark/benchmark.h>

#include <array>

using namespace woundwell;
using namespace woundwell::bench;
using namespace Qt::StringLiterals;

namespace {

using LookupFn = std::optional<Sign> (*)(QStringView, QStringView, QStringView);

// A value that depends on every answer, so that no lookup can be left out. A plain sum: its
// one-cycle dependency chain adds next to nothing to the time of a lookup.
inline unsigned fold(unsigned sum, std::optional<Sign> sign) {
    return sum + (sign ? static_cast<unsigned>(*sign) + 1u : 0u);
}

unsigned sweepChecksum(const std::vector<DateTexts> &dates, LookupFn lookup) {
    unsigned sum = 0;
    for (const DateTexts &d : dates)
        sum = fold(sum, lookup(d.year, d.month, d.day));
    return sum;
}

void reportPerItem(benchmark::State &state, std::size_t items) {
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(items));
    // Seconds per item (printed with an SI prefix: "n" = nanoseconds).
    state.counters["per_item"] = benchmark::Counter(static_cast<double>(items),
                                                    benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}

const std::vector<DateTexts> &dates(TextCopies copies, Order order) {
    static const std::array<std::vector<DateTexts>, 4> all{
        allListDates(TextCopies::PerListEntry, Order::ListOrder),
        allListDates(TextCopies::PerListEntry, Order::Shuffled),
        allListDates(TextCopies::PerDate, Order::ListOrder),
        allListDates(TextCopies::PerDate, Order::Shuffled),
    };
    return all[(copies == TextCopies::PerDate ? 2u : 0u) + (order == Order::Shuffled ? 1u : 0u)];
}

// Arg 0: 0 = list order, 1 = a fixed random order (no help from the branch predictor).
// Arg 1: 0 = one text per list entry, shared as the lists hold them; 1 = three texts per date.
void sweep(benchmark::State &state, LookupFn lookup) {
    const Order order = state.range(0) != 0 ? Order::Shuffled : Order::ListOrder;
    const TextCopies copies = state.range(1) != 0 ? TextCopies::PerDate : TextCopies::PerListEntry;
    const std::vector<DateTexts> &list = dates(copies, order);
    const unsigned expected = sweepChecksum(list, lookup);
    unsigned sum = 0;
    for (auto _ : state) {
        benchmark::ClobberMemory(); // the texts must be read afresh in every pass
        sum = 0;
        for (const DateTexts &d : list)
            sum = fold(sum, lookup(d.year, d.month, d.day));
        benchmark::DoNotOptimize(sum);
    }
    if (sum != expected)
        state.SkipWithError("the sweep's answers changed between passes");
    reportPerItem(state, list.size());
    state.SetLabel(std::string(order == Order::Shuffled ? "shuffled" : "list order") +
                   (copies == TextCopies::PerDate ? ", texts per date" : ", texts per entry"));
}

void BM_Lookup_AllListDates(benchmark::State &state) {
    sweep(state, &lookupChironSign);
}
BENCHMARK(BM_Lookup_AllListDates)
    ->ComputeStatistics("min", minOf)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"shuffled", "perDate"})
    ->Unit(benchmark::kMicrosecond);

// What a sweep costs without any lookup: the loop, the calls and the reads of the texts.
void BM_SweepFloor_AllListDates(benchmark::State &state) {
    sweep(state, &readTextsOnly);
}
BENCHMARK(BM_SweepFloor_AllListDates)
    ->ComputeStatistics("min", minOf)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"shuffled", "perDate"})
    ->Unit(benchmark::kMicrosecond);

struct OneDate {
    const char *label;
    QString year, month, day;
};

const std::array<OneDate, 5> &oneDates() {
    static const std::array<OneDate, 5> list{{
        {"year without a change: year read", u"1936"_s, u"July"_s, u"15"_s},
        {"month without a change: year, month read", u"1933"_s, u"March"_s, u"10"_s},
        {"month with a change: year, month, day read", u"1933"_s, u"June"_s, u"7"_s},
        {"December in a change year: last month name", u"2005"_s, u"December"_s, u"6"_s},
        {"year outside the table", u"1929"_s, u"May"_s, u"1"_s},
    }};
    return list;
}

// One lookup of the same date again and again (the branch predictor learns it).
void lookupOne(benchmark::State &state, LookupFn lookup) {
    const OneDate &d = oneDates()[static_cast<std::size_t>(state.range(0))];
    QStringView year = d.year, month = d.month, day = d.day;
    for (auto _ : state) {
        benchmark::DoNotOptimize(year);
        benchmark::DoNotOptimize(month);
        benchmark::DoNotOptimize(day);
        std::optional<Sign> sign = lookup(year, month, day);
        benchmark::DoNotOptimize(sign);
    }
    state.SetLabel(d.label);
}

void BM_Lookup_One(benchmark::State &state) {
    lookupOne(state, &lookupChironSign);
}
BENCHMARK(BM_Lookup_One)->ComputeStatistics("min", minOf)->DenseRange(0, 4);

struct BirthDataCase {
    QString name;
    int day, month, year; // zero-based list positions
};

// A name and a date as a user gives them, and each problem the checks can find.
const std::vector<BirthDataCase> &birthDataCases() {
    static const std::vector<BirthDataCase> cases{
        {u"JOHN SMITH"_s, 14, 5, 40}, // 15 June 1970: fine
        {QString(), 0, 0, 0},         // no name
        {u"ANN"_s, 28, 1, 41},        // 29 February 1971: not a leap year
        {u"ANN"_s, 28, 1, 42},        // 29 February 1972: fine
        {u"ANN"_s, 29, 1, 42},        // 30 February
        {u"ANN"_s, 30, 3, 10},        // 31 April
        {u"ANN"_s, 30, 11, 80},       // 31 December 2010: fine
        {u" "_s, 0, 0, 0},            // a space is a name
    };
    return cases;
}

void BM_CheckBirthData_Representative(benchmark::State &state) {
    const std::vector<BirthDataCase> &cases = birthDataCases();
    for (auto _ : state) {
        benchmark::ClobberMemory();
        for (const BirthDataCase &c : cases) {
            BirthDataProblem problem = checkBirthData(c.name, c.day, c.month, c.year);
            benchmark::DoNotOptimize(problem);
        }
    }
    reportPerItem(state, cases.size());
}
BENCHMARK(BM_CheckBirthData_Representative)->ComputeStatistics("min", minOf);

// Every combination of list positions the window offers (31 x 12 x 81), with a name.
void BM_CheckBirthData_AllListPositions(benchmark::State &state) {
    const QString name = u"JOHN SMITH"_s;
    constexpr int Years = LastYear - FirstYear + 1;
    unsigned refused = 0;
    for (auto _ : state) {
        benchmark::ClobberMemory();
        refused = 0;
        for (int year = 0; year < Years; ++year)
            for (int month = 0; month < 12; ++month)
                for (int day = 0; day < 31; ++day)
                    refused += checkBirthData(name, day, month, year) != BirthDataProblem::None;
        benchmark::DoNotOptimize(refused);
    }
    state.counters["refused"] = refused;
    reportPerItem(state, static_cast<std::size_t>(Years) * 12 * 31);
}
BENCHMARK(BM_CheckBirthData_AllListPositions)
    ->ComputeStatistics("min", minOf)
    ->Unit(benchmark::kMicrosecond);

} // namespace

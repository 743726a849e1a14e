#pragma once

#include <QString>
#include <functional>

// A benchmark sees the generated configuration directory and reports figures as
// "name: value unit" lines.
struct BenchContext
{
    QString configDir; // the six files of the generated configuration
    int monsterCount = 0;
    int boxCount = 0;
    int runs = 5;

    void report(const QString &name, double value, const QString &unit) const;
    // Median wall time of `runs` calls in milliseconds; `setup` runs untimed before each call.
    double medianMs(const std::function<void()> &run,
                    const std::function<void()> &setup = {}) const;
};

using BenchFunction = void (*)(BenchContext &);

struct BenchRegistrar
{
    BenchRegistrar(const char *name, int order, BenchFunction function);
};

// Registers a benchmark; lower order runs first.
#define LOOTWRIGHT_BENCH(id, order)                                                         \
    static void id(BenchContext &);                                                        \
    static const BenchRegistrar id##Registrar(#id, order, &id);                            \
    static void id(BenchContext &context)

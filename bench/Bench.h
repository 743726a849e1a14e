#pragma once

#include "data/DropConfig.h"

#include <QString>
#include <QtGlobal>
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
#define LOOTWRIGHT_BENCH(id, order)                                                                \
    static void id(BenchContext &);                                                                \
    static const BenchRegistrar id##Registrar(#id, order, &id);                                    \
    static void id(BenchContext &context)

// The growth of the resident set at its peak while run() works, in bytes; -1 when it cannot be
// measured. Runs in a child process that sets its own high-water mark back to its current
// resident size, so the figure is fresh and the harness's own peak figure stays untouched.
double peakExtraBytes(const std::function<void()> &run);

// Keeps debug and info diagnostics out of the report while it lives; warnings still go to stderr.
class QuietDebug
{
public:
    QuietDebug();
    ~QuietDebug();
    QuietDebug(const QuietDebug &) = delete;
    QuietDebug &operator=(const QuietDebug &) = delete;

private:
    QtMessageHandler previous;
};

// Reads the name tables and both drop files of the generated configuration, quietly. False when
// a file is missing, does not load, or holds no records.
bool loadGeneratedConfiguration(const BenchContext &context, MonsterDropData &monsters,
                                DropBoxContentData &boxes, QString &error);

// The HTML drop-rate export of every monster of the generated configuration: build time, write
// time, page size and the resident memory the export adds at its peak.

#include "Bench.h"

#include "data/DropBoxContentParser.h"
#include "data/MonsterDropParser.h"
#include "data/NameResolver.h"
#include "export/HtmlDropRateExport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <vector>

namespace {

constexpr double megabyte = 1024.0 * 1024.0;

double processCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// Reports the median wall time as `name` and the median CPU time as `name`_cpu: on a busy
// machine the CPU time is the steadier figure.
void reportTimes(const BenchContext &context, const char *name, const std::function<void()> &run,
                 const std::function<void()> &setup = {})
{
    std::vector<double> cpu;
    const double wallMs = context.medianMs(
        [&] {
            const double start = processCpuMs();
            run();
            cpu.push_back(processCpuMs() - start);
        },
        setup);
    std::sort(cpu.begin(), cpu.end());
    context.report(QString::fromLatin1(name), wallMs, QStringLiteral("ms"));
    context.report(QString::fromLatin1(name) + QStringLiteral("_cpu"), cpu[cpu.size() / 2],
                   QStringLiteral("ms"));
}

} // namespace

LOOTWRIGHT_BENCH(exportHtml, 60)
{
    MonsterDropData monsters;
    DropBoxContentData boxes;
    QString error;
    if (!loadGeneratedConfiguration(context, monsters, boxes, error)) {
        std::fprintf(stderr, "export bench: cannot load the configuration: %s\n",
                     qPrintable(error));
        return;
    }
    NameResolver &names = NameResolver::instance();
    const QDateTime time(QDate(2026, 12, 6), QTime(8, 30, 0));
    const QString timestamp = HtmlDropRateExport::timestampText(time);

    QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("drops.html"));
    const auto buildAndWrite = [&] {
        const HtmlDropRateExport::Page page =
            HtmlDropRateExport::buildPage(monsters, boxes, names, 1.0, true, timestamp);
        HtmlDropRateExport::writePage(path, page.html, error);
    };
    const auto exportToFile = [&] {
        HtmlDropRateExport::exportToFile(path, monsters, boxes, names, 1.0, true, time);
    };

    // The page built whole in one string, then written.
    {
        HtmlDropRateExport::Page page;
        reportTimes(
            context, "export_html_build",
            [&] {
                page = HtmlDropRateExport::buildPage(monsters, boxes, names, 1.0, true, timestamp);
            },
            [&] { page = HtmlDropRateExport::Page(); });
        reportTimes(context, "export_html_write",
                    [&] { HtmlDropRateExport::writePage(path, page.html, error); });
        context.report(QStringLiteral("export_html_rows"), page.exportCount,
                       QStringLiteral("rows"));
    }
    const double pageBytes = double(QFileInfo(path).size());
    context.report(QStringLiteral("export_html_size"), pageBytes / megabyte, QStringLiteral("MB"));

    // The window's export: the same bytes, built and written in pieces.
    reportTimes(context, "export_html_streamed", exportToFile);
    if (double(QFileInfo(path).size()) != pageBytes)
        std::fprintf(stderr, "export bench: the streamed page differs in size\n");

    const auto reportPeak = [&](const char *name, const std::function<void()> &run) {
        const double extra = peakExtraBytes(run);
        if (extra < 0) {
            std::printf("# %s: no fresh resident peak available here\n", name);
            return;
        }
        context.report(QString::fromLatin1(name), extra / megabyte, QStringLiteral("MB"));
        if (pageBytes > 0)
            context.report(QString::fromLatin1(name) + QStringLiteral("_per_page_size"),
                           extra / pageBytes, QStringLiteral("x"));
    };
    reportPeak("export_html_peak_extra", buildAndWrite);
    reportPeak("export_html_streamed_peak_extra", exportToFile);
    names.clear();
}

// The configuration check and the item reverse lookup on the default generated configuration.
#include "Bench.h"

#include "data/ConfigCheck.h"
#include "data/ItemSourceIndex.h"
#include "data/NameResolver.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

LOOTWRIGHT_BENCH(lookup_and_check, 700)
{
    MonsterDropData monsters;
    DropBoxContentData boxes;
    QString error;
    if (!loadGeneratedConfiguration(context, monsters, boxes, error)) {
        std::fprintf(stderr, "lookup_and_check: %s\n", qPrintable(error));
        return;
    }
    const NameResolver &names = NameResolver::instance();

    qsizetype findings = 0;
    context.report(QStringLiteral("check_all"), context.medianMs([&] {
        findings = ConfigCheck::run(monsters, boxes, names).size();
    }),
                   QStringLiteral("ms"));
    context.report(QStringLiteral("check_all_findings"), double(findings), QStringLiteral(""));

    // One item in 1,000 boxes spread over the document, popular shared boxes among them.
    const int itemId = 2000000000;
    const qsizetype step = qMax<qsizetype>(1, boxes.boxes.size() / 1000);
    int placed = 0;
    for (qsizetype i = 0; i < boxes.boxes.size() && placed < 1000; i += step, ++placed)
        boxes.boxes[i].items[0].itemId = itemId;

    ItemSourceIndex index;
    context.report(QStringLiteral("where_index_build"),
                   context.medianMs([&] { index.rebuild(monsters, boxes); }), QStringLiteral("ms"));
    qsizetype rows = 0;
    context.report(QStringLiteral("where_item"),
                   context.medianMs([&] { rows = index.sources(itemId).size(); }),
                   QStringLiteral("ms"));
    // The same with every text the lookup window or the command line shows.
    context.report(QStringLiteral("where_item_texts"), context.medianMs([&] {
        qsizetype length = 0;
        for (const ItemSourceIndex::Source &source : index.sources(itemId))
            length += names.monsterName(source.monsterId).size() + source.rateText(1.0).size() +
                      source.oneInText(1.0).size() + source.chanceText(1.0).size();
        rows = length > 0 ? rows : 0;
    }),
                   QStringLiteral("ms"));
    // With a total row per monster and every column's text, kills included.
    qsizetype totals = 0;
    std::vector<double> cpu;
    context.report(QStringLiteral("where_item_combined"), context.medianMs([&] {
        const std::clock_t start = std::clock();
        const QList<ItemSourceIndex::Source> sources = index.sources(itemId);
        const QList<ItemSourceIndex::MonsterTotal> monsterTotals =
            ItemSourceIndex::totals(sources, 1.0);
        qsizetype length = 0;
        for (int column = 0; column < ItemSourceTable::ColumnCount; ++column) {
            for (const ItemSourceIndex::Source &source : sources)
                length += ItemSourceTable::cellText(source, column, names, 1.0).size();
            for (const ItemSourceIndex::MonsterTotal &total : monsterTotals)
                length += ItemSourceTable::cellText(total, column, names).size();
        }
        totals = length > 0 ? monsterTotals.size() : 0;
        cpu.push_back(double(std::clock() - start) * 1000.0 / CLOCKS_PER_SEC);
    }),
                   QStringLiteral("ms"));
    std::sort(cpu.begin(), cpu.end());
    context.report(QStringLiteral("where_item_combined_cpu"), cpu[cpu.size() / 2],
                   QStringLiteral("ms"));
    context.report(QStringLiteral("where_item_totals"), double(totals), QStringLiteral(""));
    context.report(QStringLiteral("where_item_boxes"), double(index.boxCount(itemId)),
                   QStringLiteral(""));
    context.report(QStringLiteral("where_item_rows"), double(rows), QStringLiteral(""));
}

// Fill and filter times of the main window's item models.
#include "Bench.h"

#include "data/DropBoxContentParser.h"
#include "data/DropConfig.h"
#include "data/MonsterDropParser.h"
#include "data/NameResolver.h"
#include "models/DropItemTableModel.h"
#include "models/DropSummaryModel.h"
#include "models/MonsterBoxListModel.h"
#include "models/MonsterFilterProxyModel.h"
#include "models/MonsterListModel.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTableView>
#include <cstdio>

namespace {

// Keeps the models' diagnostics out of the report and counts the filter's per-row lines.
class FilterLineCounter
{
public:
    FilterLineCounter() { previous = qInstallMessageHandler(&FilterLineCounter::handle); }
    ~FilterLineCounter() { qInstallMessageHandler(previous); }
    static inline int filterRowLines = 0;

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        if (type == QtDebugMsg) {
            if (message.startsWith(QStringLiteral("[MonsterFilterProxyModel] 行")))
                ++filterRowLines;
            return;
        }
        if (previous)
            previous(type, context, message);
    }
    static inline QtMessageHandler previous = nullptr;
};

struct ModelBenchData
{
    MonsterDropData monsters;
    DropBoxContentData boxes;
    QString source;
};

// Made-up monster names from a pool of syllables, as long as the generated ones.
const char16_t *const syllables[] = {u"赤焰", u"狼王", u"冰霜", u"巨人", u"暗影", u"魔蛛",
                                     u"石像", u"鬼将", u"雷鸣", u"毒蝎", u"天狗", u"骷髅",
                                     u"血蝠", u"炎魔", u"寒冰", u"妖狐", u"铁甲", u"蛮牛",
                                     u"幽魂", u"Wolf", u"King", u"Ogre", u"Lich", u"Boar"};

void synthesize(ModelBenchData &data, const BenchContext &context)
{
    QRandomGenerator random(20261206);
    NameResolver &resolver = NameResolver::instance();
    resolver.clear();
    const int syllableCount = int(std::size(syllables));
    const int monsterCount = context.monsterCount > 0 ? context.monsterCount : 200000;
    const int boxCount = context.boxCount > 0 ? context.boxCount : 100000;
    for (int i = 0; i < monsterCount; ++i) {
        const int id = 10000 + i;
        resolver.monsterNames.insert(
            id, QString::fromUtf16(syllables[random.bounded(syllableCount)]) +
                    QString::fromUtf16(syllables[random.bounded(syllableCount)]) +
                    QString::number(random.bounded(1, 100)));
        resolver.monsterLevels.insert(id, random.bounded(1, 120));
        if (random.bounded(100) < 80) {
            MonsterDropConfig record;
            record.monsterId = id;
            record.mValue = random.bounded(1, 10000);
            record.dropBoxIds.fill(-1, 20);
            // A few configurations list no box at all.
            const int used = random.bounded(100) < 10 ? 0 : random.bounded(1, 21);
            for (int slot = 0; slot < used; ++slot)
                record.dropBoxIds[slot] = random.bounded(1, boxCount + 1);
            data.monsters.records.append(record);
        }
    }
    for (int i = 0; i < boxCount; ++i) {
        DropBoxConfig box;
        box.boxId = i + 1;
        box.boxValue = random.bounded(1, 100000);
        box.items.fill(DropBoxItem{}, 100);
        const int filled = random.bounded(1, 101);
        for (int slot = 0; slot < filled; ++slot)
            box.items[slot] = DropBoxItem{random.bounded(1, 60000), 1};
        data.boxes.boxes.append(box);
    }
    data.source = QStringLiteral("synthetic");
}

ModelBenchData &benchData(const BenchContext &context)
{
    static ModelBenchData data;
    static bool ready = false;
    if (ready)
        return data;
    ready = true;
    QString error;
    if (loadGeneratedConfiguration(context, data.monsters, data.boxes, error)) {
        data.source = QStringLiteral("generated");
    } else {
        data = ModelBenchData();
        synthesize(data, context);
    }
    std::printf("# models: %s data, %lld named monsters, %lld monster records, %lld boxes\n",
                qPrintable(data.source),
                static_cast<long long>(NameResolver::instance().monsterNames.size()),
                static_cast<long long>(data.monsters.records.size()),
                static_cast<long long>(data.boxes.boxes.size()));
    return data;
}

// A two-character piece of some monster's name, so the text filter keeps a real share of rows.
QString twoCharacterNameText()
{
    const QMap<int, QString> &names = NameResolver::instance().monsterNames;
    for (auto it = names.cbegin(); it != names.cend(); ++it) {
        const QString name = it.value().trimmed();
        if (name.size() >= 2 && !name.at(0).isDigit())
            return name.left(2);
    }
    return QStringLiteral("狼王");
}

} // namespace

LOOTWRIGHT_BENCH(monster_list_models, 300)
{
    ModelBenchData &data = benchData(context);
    FilterLineCounter quiet;
    const QString ms = QStringLiteral("ms");

    MonsterListModel model;
    const auto fill = [&] {
        model.loadMonsters();
        model.setDropConfig(&data.monsters);
    };
    context.report(QStringLiteral("monster_list_fill"), context.medianMs(fill), ms);

    // A filter change is timed up to the new row count, which is what a view asks for next.
    MonsterFilterProxyModel proxy;
    proxy.setSourceModel(&model);
    const auto filterBy = [&](const QString &text) {
        const auto clear = [&] {
            proxy.setFilterText(QString());
            proxy.rowCount();
        };
        const auto change = [&] {
            proxy.setFilterText(text);
            proxy.rowCount();
        };
        return context.medianMs(change, clear);
    };
    const QString nameText = twoCharacterNameText();
    const QString digitText = QStringLiteral("12");
    context.report(QStringLiteral("monster_filter_text"), filterBy(nameText), ms);
    const int nameRows = proxy.rowCount();
    context.report(QStringLiteral("monster_filter_text_digits"), filterBy(digitText), ms);
    const int digitRows = proxy.rowCount();
    proxy.setFilterText(QString());

    const auto switchTo = [&](bool on) {
        // setOnlyWithDrops reports the new row count itself.
        return context.medianMs([&] { proxy.setOnlyWithDrops(on); },
                                [&] { proxy.setOnlyWithDrops(!on); });
    };
    context.report(QStringLiteral("monster_filter_only_with_drops"), switchTo(true), ms);
    const int dropRows = proxy.rowCount();
    context.report(QStringLiteral("monster_filter_show_all"), switchTo(false), ms);
    std::printf("# models: %d of %d rows match \"%s\", %d match \"12\", %d have drops; "
                "%d filter row lines\n",
                nameRows, model.rowCount(), qPrintable(nameText), digitRows, dropRows,
                FilterLineCounter::filterRowLines);

    // The same changes with a table view on the proxy, as in the main window.
    QTableView view;
    view.setModel(&proxy);
    proxy.setOnlyWithDrops(false);
    context.report(QStringLiteral("monster_filter_text_view"), filterBy(nameText), ms);
    proxy.setFilterText(QString());
    context.report(QStringLiteral("monster_filter_only_with_drops_view"), switchTo(true), ms);
    proxy.setOnlyWithDrops(false);
    context.report(QStringLiteral("monster_list_fill_view"), context.medianMs([&] {
        fill();
        proxy.rowCount();
    }),
                   ms);
}

LOOTWRIGHT_BENCH(monster_detail_models, 301)
{
    ModelBenchData &data = benchData(context);
    // The worst case for the box lookup: the monster's 20 boxes are the last ones of the
    // document, each with 100 filled item slots.
    DropBoxContentData boxes = data.boxes;
    MonsterDropConfig monster;
    monster.monsterId = 1;
    monster.mValue = 500;
    const qsizetype boxCount = boxes.boxes.size();
    for (qsizetype i = std::max<qsizetype>(0, boxCount - 20); i < boxCount; ++i) {
        DropBoxConfig &box = boxes.boxes[i];
        box.items.fill(DropBoxItem{}, 100);
        for (int slot = 0; slot < 100; ++slot)
            box.items[slot] = DropBoxItem{1000 + slot, 1};
        monster.dropBoxIds.append(box.boxId);
    }

    DropSummaryModel summary;
    context.report(QStringLiteral("summary_fill"),
                   context.medianMs([&] { summary.setMonster(&monster, &boxes); }),
                   QStringLiteral("ms"));
    MonsterBoxListModel boxList;
    context.report(QStringLiteral("box_list_fill"),
                   context.medianMs([&] { boxList.setMonster(&monster, &boxes); }),
                   QStringLiteral("ms"));
    std::printf("# models: summary of %d rows, box list of %d rows\n", summary.rowCount(),
                boxList.rowCount());
}

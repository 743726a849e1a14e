#include "cli/CliCommands.h"

#include "data/NameResolver.h"
#include "edit/DropComparison.h"
#include "edit/MonsterEdits.h"
#include "export/CsvDropRateExport.h"
#include "export/HtmlDropRateExport.h"
#include "rates/KillSimulation.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTextStream>
#include <ctime>

namespace Cli {

namespace {

const QString program = QStringLiteral("lootwright-cli");
const QString timeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
const QStringList nameTables{QStringLiteral("GemInfo.txt"), QStringLiteral("CommonItem.txt"),
                             QStringLiteral("EquipBase.txt"),
                             QStringLiteral("MonsterAttrExTable.txt")};

const QList<CommandSyntax> &commands()
{
    static const QList<CommandSyntax> syntaxes{
        {QStringLiteral("check"),
         {QStringLiteral("CONFIGDIR")},
         {QStringLiteral("--json")},
         {},
         QStringLiteral(
             "检查两个掉落文件与名称表是否一致：不存在的包裹、无怪物引用的包裹、重复的包裹ID和怪物I"
             "D、"
             "被引用但权值小于 1 的包裹、物品表中没有的物品、怪物表中没有的怪物、超过 100% "
             "的爆率、超出文件槽位（怪物 20 个、包裹 100 "
             "个）的包裹和物品。\n每行一个问题（类别<TAB>说明），--json 输出 JSON 数组。\n"
             "退出码：0 没有问题，1 发现问题，2 参数错误或文件无法读取。")},
        {QStringLiteral("export"),
         {QStringLiteral("CONFIGDIR"), QStringLiteral("OUT.html|OUT.csv")},
         {QStringLiteral("--no-rates")},
         {QStringLiteral("--multiplier"), QStringLiteral("--time"), QStringLiteral("--format")},
         QStringLiteral("导出爆率表 HTML，与编辑器“导出爆率”写出的页面逐字节相同；或导出 CSV，"
                        "与编辑器“导出CSV”写出的文件逐字节相同（每个怪物、包裹和物品一行，"
                        "UTF-8 带 BOM，CRLF 换行）。\n"
                        "  --no-rates        不显示爆率列\n"
                        "  --multiplier M    全局掉落倍数（大于 0，最多两位小数，默认 1）\n"
                        "  --time \"yyyy-MM-dd HH:mm:ss\"  页面上的导出时间（默认为当前时间，仅 "
                        "HTML）\n"
                        "  --format html|csv 文件格式（默认按扩展名：.csv 为 CSV，其余为 HTML）\n"
                        "文件写入给定路径（不自动添加扩展名），只有完整写完才替换原文件。\n"
                        "退出码：0 已导出，2 参数错误、文件无法读写或没有可导出的掉落。")},
        {QStringLiteral("where"),
         {QStringLiteral("ITEMID"), QStringLiteral("CONFIGDIR")},
         {QStringLiteral("--json")},
         {},
         QStringLiteral(
             "列出含有该物品的每个包裹，以及引用这些包裹的每个怪物槽位：爆率、1/N、有 50%/90%/99% "
             "的概率至少掉落一次所需的击杀次数和 100 次击杀至少掉落一次的概率。\n"
             "之后每个怪物一行“合计”：该怪物所有含该物品的槽位合起来每次击杀掉落的概率"
             "（每个槽位各自掷一次）。\n第一行为摘要（以 # 开头），第二行为表头，之后每行一个来源"
             "（TAB 分隔）；--json 输出 JSON 数组（合计行的 combined 为 true）。\n"
             "退出码：0 成功，2 参数错误或文件无法读取。")},
        {QStringLiteral("simulate"),
         {QStringLiteral("MONSTERID"), QStringLiteral("CONFIGDIR")},
         {QStringLiteral("--json")},
         {QStringLiteral("--kills"), QStringLiteral("--players"), QStringLiteral("--seed"),
          QStringLiteral("--item"), QStringLiteral("--multiplier")},
         QStringLiteral(
             "模拟击杀该怪物：每个掉落槽位的包裹与每个物品的期望次数和模拟次数，以及多名玩家各自"
             "首次掉落某物品所需的击杀次数分布。\n"
             "  --kills N         击杀次数（默认 1000）\n"
             "  --players M       玩家数（默认 1000）\n"
             "  --seed S          随机种子，0 到 18446744073709551615（默认随机，输出中给出）\n"
             "  --item ITEMID     统计首次掉落的物品（默认该怪物可掉落的 ID 最小的物品）\n"
             "  --multiplier M    全局掉落倍数（大于 0，默认 1）\n"
             "同一种子在任何机器上、在编辑器的“模拟击杀”中得到相同的结果：std::mt19937_64，"
             "每次击杀按槽位顺序每个存在的包裹抽一次。\n"
             "--json 输出 JSON 对象。\n退出码：0 成功，2 参数错误或文件无法读取。")},
        {QStringLiteral("normalize"),
         {QStringLiteral("CONFIGDIR")},
         {},
         {},
         QStringLiteral(
             "以编辑器自己的格式重写 MonsterDropBoxs.txt 和 DropBoxContent.txt：与在编辑器中加载"
             "后保存得到的字节相同，经临时文件原子替换。\n任何一个文件无法读取或写入时，两个文件都"
             "不会被改动。\n重写前两个文件各自备份到其旁边的 backup "
             "目录（与编辑器保存时相同，每个文件保留最近 20 份）。\n退出码：0 成功，2 "
             "参数错误或文件无法读写。")},
        {QStringLiteral("diff"),
         {QStringLiteral("OLDDIR"), QStringLiteral("NEWDIR")},
         {QStringLiteral("--json"), QStringLiteral("--rates-only")},
         {},
         QStringLiteral(
             "比较两个配置目录的掉落文件：记录的修改（怪物、包裹、表头和注释行，按 ID "
             "对应，同一 ID 以第一条为准）和每个怪物每个物品的爆率变化（表格中的爆率和 "
             "1/N）。\n每行一项（类别<TAB>说明），先列记录，后列爆率；名称取自 NEWDIR 的名称表。\n"
             "  --rates-only  只列爆率变化\n"
             "  --json        输出 JSON 对象 {\"records\": [...], \"rates\": [...]}\n"
             "退出码：0 没有差异，1 有差异（--rates-only 时只看爆率），2 "
             "参数错误或文件无法读取。")},
    };
    return syntaxes;
}

QString usageLine(const CommandSyntax &syntax)
{
    QString line = QStringLiteral("用法: ") + program + u' ' + syntax.name;
    for (const QString &positional : syntax.positionals)
        line += u' ' + positional;
    for (const QString &flag : syntax.flags)
        line += QStringLiteral(" [") + flag + u']';
    for (const QString &option : syntax.valueOptions)
        line += QStringLiteral(" [") + option + QStringLiteral(" 值]");
    return line;
}

QString generalHelp()
{
    QString text = QStringLiteral("用法: ") + program +
                   QStringLiteral(" <命令> [参数]\n\nLootwright 掉落配置的命令行工具。\n\n命令:\n");
    for (const CommandSyntax &syntax : commands())
        text +=
            QStringLiteral("  ") + usageLine(syntax).mid(QStringLiteral("用法: ").size()) + u'\n';
    text += QStringLiteral(
        "\n每个命令都可以用 --help 查看说明；--version 显示版本。参数错误或文件无法读写时退出码为 "
        "2。\n");
    return text;
}

QStringList helpNames()
{
    return {QStringLiteral("h"), QStringLiteral("help")};
}

// The parser's own texts are English; a failed parse is said in the tool's words. Besides an
// unknown option, only a value option at the end or a flag given "=value" fail.
QString parseError(const QCommandLineParser &parser, const QStringList &arguments,
                   const CommandSyntax &syntax)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
        const QString name = unknown.first();
        return QStringLiteral("未知选项：%1")
            .arg((name.size() > 1 ? QStringLiteral("--") : QStringLiteral("-")) + name);
    }
    if (!arguments.isEmpty() && syntax.valueOptions.contains(arguments.last()))
        return QStringLiteral("选项 %1 缺少值").arg(arguments.last());
    for (const QString &argument : arguments) {
        if (syntax.flags.contains(argument.section(u'=', 0, 0)) && argument.contains(u'='))
            return QStringLiteral("未知选项：%1").arg(argument);
    }
    return parser.errorText();
}

int fail(QTextStream &err, const QString &message)
{
    err << message << Qt::endl;
    return Failure;
}

QString tablePath(const QString &dir, const QString &name)
{
    return QDir(dir).filePath(name);
}

bool checkDirectory(const QString &dir, QString &error)
{
    if (QFileInfo(dir).isDir())
        return true;
    error = QStringLiteral("配置目录不存在：%1").arg(dir);
    return false;
}

// The name tables as the window loads them. A missing table is left out as the window does; one
// that is there but cannot be opened is an error.
bool loadNames(const QString &dir, QString &error)
{
    for (const QString &name : nameTables) {
        const QString path = tablePath(dir, name);
        QFile file(path);
        if (file.exists() && !file.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("无法打开文件: %1").arg(path);
            return false;
        }
    }
    NameResolver::instance().clear();
    NameResolver::instance().loadAll(dir);
    return true;
}

// The drop files, then (with names) the name tables; what the load settled goes to err first.
bool load(const QString &dir, Configuration &config, bool names, QTextStream &err, QString &error)
{
    const bool loaded = loadConfiguration(dir, config, error);
    for (const QString &note : config.notes)
        err << note << Qt::endl;
    return loaded && (!names || loadNames(dir, error));
}

int runCheck(const ParsedArguments &args, QTextStream &out, QTextStream &err)
{
    Configuration config;
    QString error;
    if (!load(args.positionals.at(0), config, true, err, error))
        return fail(err, error);
    const QList<ConfigCheck::Finding> findings =
        ConfigCheck::run(config.monsters, config.boxes, NameResolver::instance());
    if (args.flags.contains(QStringLiteral("--json"))) {
        out << QString::fromUtf8(findingsJson(findings));
    } else {
        for (const ConfigCheck::Finding &finding : findings)
            out << findingLine(finding) << u'\n';
    }
    out.flush();
    return findings.isEmpty() ? Success : FindingsReported;
}

// --multiplier, 1 when not given. False with the message.
bool readMultiplier(const ParsedArguments &args, double &multiplier, QString &error)
{
    multiplier = 1.0;
    if (!args.values.contains(QStringLiteral("--multiplier")))
        return true;
    const QString text = args.values.value(QStringLiteral("--multiplier"));
    bool ok = false;
    multiplier = text.toDouble(&ok);
    if (ok && HtmlDropRateExport::isUsableMultiplier(multiplier))
        return true;
    error =
        QStringLiteral("掉落倍数无效：%1（应为大于 0、最多两位小数且爆率不溢出的数）").arg(text);
    return false;
}

int runExport(const ParsedArguments &args, QTextStream &out, QTextStream &err)
{
    double multiplier = 1.0;
    QString optionError;
    if (!readMultiplier(args, multiplier, optionError))
        return fail(err, optionError);
    QDateTime time = QDateTime::currentDateTime();
    if (args.values.contains(QStringLiteral("--time"))) {
        const QString text = args.values.value(QStringLiteral("--time"));
        time = QDateTime::fromString(text, timeFormat);
        if (!time.isValid())
            return fail(err,
                        QStringLiteral("时间无效：%1（格式应为 yyyy-MM-dd HH:mm:ss）").arg(text));
    }
    const QString target = args.positionals.at(1);
    if (target.isEmpty())
        return fail(err, QStringLiteral("未指定导出文件"));
    bool csv = target.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive);
    if (args.values.contains(QStringLiteral("--format"))) {
        const QString format = args.values.value(QStringLiteral("--format"));
        if (format != QStringLiteral("html") && format != QStringLiteral("csv"))
            return fail(err, QStringLiteral("格式无效：%1（应为 html 或 csv）").arg(format));
        csv = format == QStringLiteral("csv");
    }

    Configuration config;
    QString error;
    if (!load(args.positionals.at(0), config, true, err, error))
        return fail(err, error);
    namespace Export = HtmlDropRateExport;
    if (!Export::hasDocuments(config.monsters, config.boxes))
        return fail(err, Export::nothingLoadedText());
    const bool showRates = !args.flags.contains(QStringLiteral("--no-rates"));
    const Export::Outcome outcome =
        csv ? CsvDropRateExport::exportToFile(target, config.monsters, config.boxes,
                                              NameResolver::instance(), multiplier, showRates)
            : Export::exportToFile(target, config.monsters, config.boxes, NameResolver::instance(),
                                   multiplier, showRates, time);
    if (!outcome.written)
        return fail(err, outcome.text);
    out << outcome.text << Qt::endl;
    return Success;
}

int runWhere(const ParsedArguments &args, QTextStream &out, QTextStream &err)
{
    const QString idText = args.positionals.at(0);
    bool ok = false;
    const int itemId = idText.toInt(&ok);
    if (!ok || !DropSlots::isUsedId(itemId))
        return fail(err, QStringLiteral("物品ID无效：%1（应为 1 或更大的整数）").arg(idText));
    Configuration config;
    QString error;
    if (!load(args.positionals.at(1), config, true, err, error))
        return fail(err, error);
    const ItemSourceIndex index(config.monsters, config.boxes);
    const QList<ItemSourceIndex::Source> sources = index.sources(itemId);
    if (args.flags.contains(QStringLiteral("--json")))
        out << QString::fromUtf8(sourcesJson(sources, NameResolver::instance()));
    else
        out << sourcesText(itemId, sources, NameResolver::instance());
    out.flush();
    return Success;
}

// A whole-number option between 1 and `most`, `fallback` when not given.
bool readCount(const ParsedArguments &args, const QString &name, qint64 fallback, qint64 most,
               qint64 &value, QString &error)
{
    value = fallback;
    if (!args.values.contains(name))
        return true;
    const QString text = args.values.value(name);
    bool ok = false;
    value = text.toLongLong(&ok);
    if (ok && value >= 1 && value <= most)
        return true;
    error =
        QStringLiteral("%1 无效：%2（应为 1 到 %3 的整数）").arg(name, text, QString::number(most));
    return false;
}

QJsonArray rowArray(const QStringList &header, const QList<QStringList> &rows)
{
    QJsonArray array;
    for (const QStringList &row : rows) {
        QJsonObject object;
        for (qsizetype i = 0; i < header.size(); ++i)
            object.insert(header.at(i), row.value(i));
        array.append(object);
    }
    return array;
}

QString tableText(const QStringList &header, const QList<QStringList> &rows)
{
    QString text = header.join(u'\t') + u'\n';
    for (const QStringList &row : rows)
        text += row.join(u'\t') + u'\n';
    return text;
}

int runSimulate(const ParsedArguments &args, QTextStream &out, QTextStream &err)
{
    const QString idText = args.positionals.at(0);
    bool ok = false;
    const int monsterId = idText.toInt(&ok);
    if (!ok || !DropSlots::isUsedId(monsterId))
        return fail(err, QStringLiteral("怪物ID无效：%1（应为 1 或更大的整数）").arg(idText));
    qint64 kills = 0;
    qint64 players = 0;
    double multiplier = 1.0;
    QString error;
    if (!readCount(args, QStringLiteral("--kills"), 1000, 1000000000, kills, error) ||
        !readCount(args, QStringLiteral("--players"), 1000, 10000000, players, error) ||
        !readMultiplier(args, multiplier, error))
        return fail(err, error);
    quint64 seed = QRandomGenerator::global()->generate64();
    if (args.values.contains(QStringLiteral("--seed"))) {
        const QString text = args.values.value(QStringLiteral("--seed"));
        seed = text.toULongLong(&ok);
        if (!ok)
            return fail(
                err,
                QStringLiteral("种子无效：%1（应为 0 到 18446744073709551615 的整数）").arg(text));
    }
    Configuration config;
    if (!load(args.positionals.at(1), config, true, err, error))
        return fail(err, error);
    const MonsterDropConfig *record = MonsterEdits::findRecord(config.monsters, monsterId);
    if (!record)
        return fail(err, QStringLiteral("怪物ID %1 没有掉落记录").arg(monsterId));
    const KillSimulation simulation(*record, config.boxes, multiplier);
    int itemId = simulation.items().isEmpty() ? 0 : simulation.items().first().itemId;
    if (args.values.contains(QStringLiteral("--item"))) {
        const QString text = args.values.value(QStringLiteral("--item"));
        itemId = text.toInt(&ok);
        if (!ok || simulation.itemIndex(itemId) < 0)
            return fail(err, QStringLiteral("物品ID无效：%1（该怪物不掉落此物品）").arg(text));
    }

    const NameResolver &names = NameResolver::instance();
    const KillSimulation::Counts counts = simulation.run(kills, seed);
    QList<QStringList> rollRows;
    for (qsizetype r = 0; r < simulation.rolls().size(); ++r)
        rollRows.append(
            KillSimulationTable::rollCells(simulation.rolls().at(r), kills, counts.drops.at(r)));
    QList<QStringList> itemRows;
    for (qsizetype i = 0; i < simulation.items().size(); ++i)
        itemRows.append(KillSimulationTable::itemCells(simulation.items().at(i), names, kills,
                                                       counts.copies.at(i)));
    const bool histogram = itemId >= 1;
    KillSimulation::FirstDrops drops;
    if (histogram)
        drops = simulation.firstDrops(itemId, int(players), seed);

    if (args.flags.contains(QStringLiteral("--json"))) {
        QJsonObject object{
            {QStringLiteral("monsterId"), monsterId},
            {QStringLiteral("monsterName"), names.monsterName(monsterId)},
            {QStringLiteral("kills"), double(kills)},
            {QStringLiteral("seed"), QString::number(seed)},
            {QStringLiteral("multiplier"), multiplier},
            {QStringLiteral("boxes"), rowArray(KillSimulationTable::rollHeader(), rollRows)},
            {QStringLiteral("items"), rowArray(KillSimulationTable::itemHeader(), itemRows)}};
        if (histogram) {
            QJsonObject first{
                {QStringLiteral("itemId"), itemId},
                {QStringLiteral("players"), drops.players},
                {QStringLiteral("binWidth"), double(drops.binWidth)},
                {QStringLiteral("meanKills"), drops.meanKills},
                {QStringLiteral("medianKills"), double(drops.medianKills)},
                {QStringLiteral("expectedKills"), drops.expectedKills},
                {QStringLiteral("rows"), rowArray(KillSimulationTable::firstDropHeader(),
                                                  KillSimulationTable::firstDropRows(drops))}};
            object.insert(QStringLiteral("firstDrop"), first);
        }
        out << QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented));
        out.flush();
        return Success;
    }
    const QString monsterName = names.monsterName(monsterId);
    out << QStringLiteral("# 怪物 %1%2：%3 次击杀，种子 %4，全局掉落倍数 x%5\n")
               .arg(QString::number(monsterId),
                    monsterName.isEmpty() ? QString() : u' ' + monsterName, QString::number(kills),
                    QString::number(seed), QString::number(multiplier, 'f', 2))
        << tableText(KillSimulationTable::rollHeader(), rollRows) << u'\n'
        << tableText(KillSimulationTable::itemHeader(), itemRows);
    if (histogram) {
        const QString itemName = names.itemName(itemId);
        out << QStringLiteral("\n# 物品 %1%2 首次掉落：%3\n")
                   .arg(QString::number(itemId), itemName.isEmpty() ? QString() : u' ' + itemName,
                        KillSimulationTable::firstDropSummary(drops))
            << tableText(KillSimulationTable::firstDropHeader(),
                         KillSimulationTable::firstDropRows(drops));
    }
    out.flush();
    return Success;
}

int runNormalize(const ParsedArguments &args, QTextStream &out, QTextStream &err)
{
    Configuration config;
    QString error;
    if (!load(args.positionals.at(0), config, false, err, error))
        return fail(err, error);
    // Saved as the window saves: backups first, then both files or neither.
    DropFilePair::SaveFailure failure;
    if (!config.files.save(config.monsterPath, &config.monsters, config.boxPath, &config.boxes,
                           QDateTime::currentDateTime(), failure))
        return fail(err, failure.error);
    for (const QString &backup : config.files.lastBackups())
        out << QStringLiteral("已备份：%1").arg(backup) << u'\n';
    out << QStringLiteral("已重写：%1").arg(config.monsterPath) << u'\n'
        << QStringLiteral("已重写：%1").arg(config.boxPath) << Qt::endl;
    return Success;
}

// A JSON string literal.
void appendJsonString(QString &out, const QString &text)
{
    out += u'"';
    for (const QChar c : text) {
        if (c == u'"' || c == u'\\') {
            out += u'\\';
            out += c;
        } else if (c.unicode() < 0x20) {
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    out += u'"';
}

void appendJsonField(QString &out, const char *name, qint64 value)
{
    out += QStringLiteral(", \"%1\": %2").arg(QLatin1String(name), QString::number(value));
}

void appendJsonField(QString &out, const char *name, const QString &value)
{
    out += QStringLiteral(", \"%1\": ").arg(QLatin1String(name));
    appendJsonString(out, value);
}

// One record change as a JSON object: the ids it names, its old and new values where it has
// them, and its line.
QString recordJson(const DropComparison &comparison, const DropComparison::Change &change,
                   DropComparison::LineCache &names)
{
    using Kind = DropComparison::Kind;
    QString out = QStringLiteral("{\"kind\": ");
    appendJsonString(out, DropComparison::kindName(change.kind));
    if (change.monsterId != -1)
        appendJsonField(out, "monsterId", change.monsterId);
    if (change.boxId != -1)
        appendJsonField(out, "boxId", change.boxId);
    if (change.itemId != -1)
        appendJsonField(out, "itemId", change.itemId);
    if (change.slot >= 0)
        appendJsonField(out, "slot", change.slot + 1);
    switch (change.kind) {
    case Kind::MonsterHeader:
    case Kind::BoxHeader:
    case Kind::BoxComments:
        appendJsonField(out, "before", comparison.lineText(change, false));
        appendJsonField(out, "after", comparison.lineText(change, true));
        break;
    case Kind::MonsterAdded:
    case Kind::MonsterRemoved: {
        appendJsonField(out, "mValue",
                        change.kind == Kind::MonsterAdded ? change.after : change.before);
        appendJsonField(out, "dropType", change.extra);
        QStringList ids;
        for (const int id : comparison.boxIds(change))
            ids << QString::number(id);
        out += QStringLiteral(", \"boxIds\": [") + ids.join(QStringLiteral(", ")) + u']';
        break;
    }
    case Kind::BoxAdded:
    case Kind::BoxRemoved:
        appendJsonField(out, "boxValue",
                        change.kind == Kind::BoxAdded ? change.after : change.before);
        appendJsonField(out, "itemCount", change.extra);
        break;
    case Kind::BoxItemAdded:
    case Kind::BoxItemRemoved:
        appendJsonField(out, "count", change.extra);
        break;
    case Kind::BoxItemSlots:
        break;
    default:
        appendJsonField(out, "before", change.before);
        appendJsonField(out, "after", change.after);
        break;
    }
    appendJsonField(out, "text", comparison.text(change, names));
    out += u'}';
    return out;
}

// One side of a rate change: null when the item does not drop, else its texts and sources.
void appendRateSide(QString &out, const char *name, const DropComparison &comparison,
                    const DropComparison::Change &change, bool after)
{
    out += QStringLiteral(", \"%1\": ").arg(QLatin1String(name));
    const QList<DropComparison::RateSource> sources = comparison.sources(change, after);
    if (sources.isEmpty()) {
        out += QStringLiteral("null");
        return;
    }
    out += QStringLiteral("{\"rate\": ");
    appendJsonString(out, comparison.rateText(change, after));
    appendJsonField(out, "oneIn", comparison.oneInText(change, after));
    out += QStringLiteral(", \"sources\": [");
    for (qsizetype i = 0; i < sources.size(); ++i)
        out += QStringLiteral("%1{\"boxId\": %2, \"mValue\": %3, \"boxValue\": %4}")
                   .arg(i ? QStringLiteral(", ") : QString(), QString::number(sources.at(i).boxId),
                        QString::number(sources.at(i).monsterValue),
                        QString::number(sources.at(i).boxWeight));
    out += QStringLiteral("]}");
}

QString rateJson(const DropComparison &comparison, const DropComparison::Change &change,
                 DropComparison::LineCache &names)
{
    QString out = QStringLiteral("{\"kind\": ");
    appendJsonString(out, DropComparison::kindName(change.kind));
    appendJsonField(out, "monsterId", change.monsterId);
    appendJsonField(out, "itemId", change.itemId);
    appendJsonField(out, "boxId", change.boxId);
    appendRateSide(out, "before", comparison, change, false);
    appendRateSide(out, "after", comparison, change, true);
    appendJsonField(out, "text", comparison.text(change, names));
    out += u'}';
    return out;
}

void writeDiffJson(const DropComparison &comparison, bool ratesOnly,
                   DropComparison::LineCache &names, QTextStream &out)
{
    out << u'{';
    if (!ratesOnly) {
        out << QStringLiteral("\n  \"records\": [");
        for (qsizetype i = 0; i < comparison.recordCount(); ++i)
            out << (i ? QStringLiteral(",\n    ") : QStringLiteral("\n    "))
                << recordJson(comparison, comparison.recordChange(i), names);
        out << (comparison.recordCount() ? QStringLiteral("\n  ],") : QStringLiteral("],"));
    }
    out << QStringLiteral("\n  \"rates\": [");
    for (qsizetype i = 0; i < comparison.rateCount(); ++i)
        out << (i ? QStringLiteral(",\n    ") : QStringLiteral("\n    "))
            << rateJson(comparison, comparison.rateChange(i), names);
    out << (comparison.rateCount() ? QStringLiteral("\n  ]\n}\n") : QStringLiteral("]\n}\n"));
}

int runDiff(const ParsedArguments &args, QTextStream &out, QTextStream &err)
{
    Configuration before;
    Configuration after;
    QString error;
    if (!load(args.positionals.at(0), before, false, err, error) ||
        !load(args.positionals.at(1), after, true, err, error))
        return fail(err, error);
    const DropComparison comparison =
        DropComparison::compare(before.monsters, before.boxes, after.monsters, after.boxes);
    const bool ratesOnly = args.flags.contains(QStringLiteral("--rates-only"));
    DropComparison::LineCache names(NameResolver::instance());
    if (args.flags.contains(QStringLiteral("--json"))) {
        writeDiffJson(comparison, ratesOnly, names, out);
    } else {
        // Lines gathered into large pieces: millions of small writes cost more than the lines.
        constexpr qsizetype pieceSize = 1 << 20;
        QString piece;
        piece.reserve(pieceSize + 4096);
        const auto line = [&](const DropComparison::Change &change) {
            piece += DropComparison::kindName(change.kind);
            piece += u'\t';
            comparison.appendText(piece, change, names);
            piece += u'\n';
            if (piece.size() > pieceSize) {
                out << piece;
                piece.resize(0); // keeps the buffer
            }
        };
        if (!ratesOnly) {
            for (qsizetype i = 0; i < comparison.recordCount(); ++i)
                line(comparison.recordChange(i));
        }
        for (qsizetype i = 0; i < comparison.rateCount(); ++i)
            line(comparison.rateChange(i));
        out << piece;
    }
    out.flush();
    const bool differs = comparison.rateCount() > 0 || (!ratesOnly && comparison.recordCount() > 0);
    return differs ? FindingsReported : Success;
}

} // namespace

bool parseArguments(const QStringList &arguments, const CommandSyntax &syntax,
                    ParsedArguments &parsed, QString &error)
{
    parsed = ParsedArguments();
    QCommandLineParser parser;
    const QCommandLineOption help(helpNames());
    parser.addOption(help);
    for (const QString &flag : syntax.flags)
        parser.addOption(QCommandLineOption(flag.mid(2)));
    for (const QString &option : syntax.valueOptions)
        parser.addOption(QCommandLineOption(option.mid(2), QString(), QStringLiteral("value")));
    if (!parser.parse(QStringList{program} + arguments)) {
        error = parseError(parser, arguments, syntax);
        return false;
    }
    parsed.help = parser.isSet(help);
    for (const QString &flag : syntax.flags) {
        if (parser.isSet(flag.mid(2)))
            parsed.flags.insert(flag);
    }
    for (const QString &option : syntax.valueOptions) {
        if (parser.isSet(option.mid(2)))
            parsed.values.insert(option, parser.value(option.mid(2)));
    }
    parsed.positionals = parser.positionalArguments();
    if (!parsed.help && parsed.positionals.size() != syntax.positionals.size()) {
        error = parsed.positionals.size() < syntax.positionals.size()
                    ? QStringLiteral("缺少参数：%1")
                          .arg(syntax.positionals.mid(parsed.positionals.size()).join(u' '))
                    : QStringLiteral("多余的参数：%1")
                          .arg(parsed.positionals.mid(syntax.positionals.size()).join(u' '));
        return false;
    }
    return true;
}

bool loadConfiguration(const QString &dir, Configuration &config, QString &error)
{
    if (!checkDirectory(dir, error))
        return false;
    config.monsterPath = tablePath(dir, QStringLiteral("MonsterDropBoxs.txt"));
    config.boxPath = tablePath(dir, QStringLiteral("DropBoxContent.txt"));
    // The reader's text, led by the file it is about.
    QString readerError;
    const bool monstersLoaded =
        config.files.loadMonsters(config.monsterPath, config.monsters, readerError);
    if (!config.files.recoveryNote().isEmpty())
        config.notes << config.files.recoveryNote();
    if (!monstersLoaded) {
        error = config.monsterPath + QStringLiteral(": ") + readerError;
        return false;
    }
    const bool boxesLoaded = config.files.loadBoxes(config.boxPath, config.boxes, readerError);
    if (!config.files.recoveryNote().isEmpty())
        config.notes << config.files.recoveryNote();
    if (!boxesLoaded) {
        error = config.boxPath + QStringLiteral(": ") + readerError;
        return false;
    }
    return true;
}

namespace {

// The chance per kill as a number and the kills for 50/90/99 %, null without a chance.
void insertOdds(QJsonObject &object, const DropOdds::ItemOdds &odds)
{
    object.insert(QStringLiteral("chancePerKill"), odds.chancePerKill());
    const char *const names[] = {"kills50", "kills90", "kills99"};
    for (int i = 0; i < DropOdds::chanceStepCount; ++i) {
        const double kills = odds.killsFor(DropOdds::chanceSteps[i]);
        object.insert(QLatin1String(names[i]), kills >= 1.0 ? QJsonValue(kills) : QJsonValue());
    }
}

} // namespace

QString findingLine(const ConfigCheck::Finding &finding)
{
    return ConfigCheck::kindName(finding.kind) + u'\t' + finding.message;
}

QByteArray findingsJson(const QList<ConfigCheck::Finding> &findings)
{
    QJsonArray array;
    for (const ConfigCheck::Finding &finding : findings) {
        QJsonObject object{{QStringLiteral("kind"), ConfigCheck::kindName(finding.kind)}};
        if (finding.monsterId != -1)
            object.insert(QStringLiteral("monsterId"), finding.monsterId);
        if (finding.boxId != -1)
            object.insert(QStringLiteral("boxId"), finding.boxId);
        if (finding.itemId != -1)
            object.insert(QStringLiteral("itemId"), finding.itemId);
        if (finding.slot >= 0)
            object.insert(QStringLiteral("slot"), finding.slot + 1);
        if (finding.count > 0)
            object.insert(QStringLiteral("count"), finding.count);
        object.insert(QStringLiteral("message"), finding.message);
        array.append(object);
    }
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}

QString sourcesText(int itemId, const QList<ItemSourceIndex::Source> &sources,
                    const NameResolver &names)
{
    QSet<int> boxes;
    for (const ItemSourceIndex::Source &source : sources)
        boxes.insert(source.boxIndex);
    const QString name = names.itemName(itemId);
    QString text = QStringLiteral("# 物品 %1%2：%3 个包裹，%4 个来源\n")
                       .arg(QString::number(itemId), name.isEmpty() ? QString() : u' ' + name,
                            QString::number(boxes.size()), QString::number(sources.size()));
    using namespace ItemSourceTable;
    for (int column = 0; column < ColumnCount; ++column)
        text += (column ? QStringLiteral("\t") : QString()) + headerText(column);
    text += u'\n';
    for (const ItemSourceIndex::Source &source : sources) {
        for (int column = 0; column < ColumnCount; ++column)
            text +=
                (column ? QStringLiteral("\t") : QString()) + cellText(source, column, names, 1.0);
        text += u'\n';
    }
    for (const ItemSourceIndex::MonsterTotal &total : ItemSourceIndex::totals(sources, 1.0)) {
        for (int column = 0; column < ColumnCount; ++column)
            text += (column ? QStringLiteral("\t") : QString()) + cellText(total, column, names);
        text += u'\n';
    }
    return text;
}

QByteArray sourcesJson(const QList<ItemSourceIndex::Source> &sources, const NameResolver &names)
{
    QJsonArray array;
    for (const ItemSourceIndex::Source &source : sources) {
        QJsonObject object{{QStringLiteral("combined"), false}};
        if (source.hasMonster()) {
            object.insert(QStringLiteral("monsterId"), source.monsterId);
            object.insert(QStringLiteral("monsterName"), names.monsterName(source.monsterId));
            object.insert(QStringLiteral("slot"), source.slot + 1);
            object.insert(QStringLiteral("mValue"), source.mValue);
        } else {
            object.insert(QStringLiteral("monsterId"), QJsonValue::Null);
        }
        object.insert(QStringLiteral("boxId"), source.boxId);
        object.insert(QStringLiteral("boxValue"), source.boxValue);
        object.insert(QStringLiteral("shadowed"), source.shadowed);
        object.insert(QStringLiteral("rate"), source.rateText(1.0));
        object.insert(QStringLiteral("oneIn"), source.oneInText(1.0));
        object.insert(QStringLiteral("chance100"), source.chanceText(1.0));
        const double rate = source.killRate(1.0);
        DropOdds::ItemOdds odds;
        if (!std::isnan(rate))
            odds.addRoll(rate);
        insertOdds(object, odds);
        array.append(object);
    }
    for (const ItemSourceIndex::MonsterTotal &total : ItemSourceIndex::totals(sources, 1.0)) {
        QJsonArray slots;
        for (const int slot : total.slots)
            slots.append(slot + 1);
        QJsonArray boxIds;
        for (const int id : total.boxIds)
            boxIds.append(id);
        QJsonObject object{{QStringLiteral("combined"), true},
                           {QStringLiteral("monsterId"), total.monsterId},
                           {QStringLiteral("monsterName"), names.monsterName(total.monsterId)},
                           {QStringLiteral("mValue"), total.mValue},
                           {QStringLiteral("slots"), slots},
                           {QStringLiteral("boxIds"), boxIds}};
        using namespace ItemSourceTable;
        object.insert(QStringLiteral("rate"), cellText(total, RateColumn, names));
        object.insert(QStringLiteral("oneIn"), cellText(total, OneInColumn, names));
        object.insert(QStringLiteral("chance100"), cellText(total, ChanceColumn, names));
        insertOdds(object, total.odds);
        array.append(object);
    }
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}

int run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    // Options before the command are the tool's own; from the command on, all is the command's.
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help(helpNames());
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOption(help);
    parser.addOption(version);
    if (!parser.parse(QStringList{program} + arguments))
        return fail(err, parseError(parser, arguments, CommandSyntax()) + u'\n' + generalHelp());
    const QStringList positionals = parser.positionalArguments();
    if (parser.isSet(version)) {
        out << program << u' ' << QStringLiteral(LOOTWRIGHT_VERSION) << Qt::endl;
        return Success;
    }
    if (parser.isSet(help) || positionals.value(0) == QStringLiteral("help")) {
        out << generalHelp();
        out.flush();
        return Success;
    }
    if (positionals.isEmpty()) {
        err << generalHelp();
        err.flush();
        return Failure;
    }
    const QString &command = positionals.first();
    for (const CommandSyntax &syntax : commands()) {
        if (syntax.name != command)
            continue;
        ParsedArguments parsed;
        QString error;
        if (!parseArguments(positionals.mid(1), syntax, parsed, error))
            return fail(err, error + u'\n' + usageLine(syntax));
        if (parsed.help) {
            out << usageLine(syntax) << QStringLiteral("\n\n") << syntax.help << Qt::endl;
            return Success;
        }
        if (syntax.name == QStringLiteral("check"))
            return runCheck(parsed, out, err);
        if (syntax.name == QStringLiteral("export"))
            return runExport(parsed, out, err);
        if (syntax.name == QStringLiteral("where"))
            return runWhere(parsed, out, err);
        if (syntax.name == QStringLiteral("diff"))
            return runDiff(parsed, out, err);
        if (syntax.name == QStringLiteral("simulate"))
            return runSimulate(parsed, out, err);
        return runNormalize(parsed, out, err);
    }
    return fail(err, QStringLiteral("未知命令：%1\n").arg(command) + generalHelp());
}

} // namespace Cli

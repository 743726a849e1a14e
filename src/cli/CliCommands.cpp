#include "cli/CliCommands.h"

#include "data/DropBoxContentParser.h"
#include "data/MonsterDropParser.h"
#include "data/NameResolver.h"
#include "data/SaveBackup.h"
#include "export/HtmlDropRateExport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <cmath>

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
             "的爆率。\n每行一个问题（类别<TAB>说明），--json 输出 JSON 数组。\n"
             "退出码：0 没有问题，1 发现问题，2 参数错误或文件无法读取。")},
        {QStringLiteral("export"),
         {QStringLiteral("CONFIGDIR"), QStringLiteral("OUT.html")},
         {QStringLiteral("--no-rates")},
         {QStringLiteral("--multiplier"), QStringLiteral("--time")},
         QStringLiteral("导出爆率表 HTML，与编辑器“导出爆率”写出的页面逐字节相同。\n"
                        "  --no-rates        不显示爆率列\n"
                        "  --multiplier M    全局掉落倍数（大于 0，默认 1）\n"
                        "  --time \"yyyy-MM-dd HH:mm:ss\"  页面上的导出时间（默认为当前时间）\n"
                        "文件写入 OUT.html（不自动添加扩展名），只有完整写完才替换原文件。\n"
                        "退出码：0 已导出，2 参数错误、文件无法读写或没有可导出的掉落。")},
        {QStringLiteral("where"),
         {QStringLiteral("ITEMID"), QStringLiteral("CONFIGDIR")},
         {QStringLiteral("--json")},
         {},
         QStringLiteral(
             "列出含有该物品的每个包裹，以及引用这些包裹的每个怪物槽位：爆率、1/N 和 100 "
             "次击杀至少掉落一次的概率。\n第一行为摘要（以 # 开头），第二行为表头，之后每行一个来源"
             "（TAB 分隔）；--json 输出 JSON 数组。\n退出码：0 成功，2 参数错误或文件无法读取。")},
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
        "\n每个命令都可以用 --help 查看说明。参数错误或文件无法读写时退出码为 2。\n");
    return text;
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

int runCheck(const ParsedArguments &args, QTextStream &out, QTextStream &err)
{
    Configuration config;
    QString error;
    if (!loadConfiguration(args.positionals.at(0), config, error) ||
        !loadNames(args.positionals.at(0), error))
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

int runExport(const ParsedArguments &args, QTextStream &out, QTextStream &err)
{
    double multiplier = 1.0;
    if (args.values.contains(QStringLiteral("--multiplier"))) {
        const QString text = args.values.value(QStringLiteral("--multiplier"));
        bool ok = false;
        multiplier = text.toDouble(&ok);
        if (!ok || !std::isfinite(multiplier) || multiplier <= 0.0)
            return fail(err, QStringLiteral("掉落倍数无效：%1（应为大于 0 的数）").arg(text));
    }
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

    Configuration config;
    QString error;
    if (!loadConfiguration(args.positionals.at(0), config, error) ||
        !loadNames(args.positionals.at(0), error))
        return fail(err, error);
    namespace Export = HtmlDropRateExport;
    if (!Export::hasDocuments(config.monsters, config.boxes))
        return fail(err, Export::nothingLoadedText());
    const Export::Outcome outcome =
        Export::exportToFile(target, config.monsters, config.boxes, NameResolver::instance(),
                             multiplier, !args.flags.contains(QStringLiteral("--no-rates")), time);
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
    if (!loadConfiguration(args.positionals.at(1), config, error) ||
        !loadNames(args.positionals.at(1), error))
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

bool writable(const QString &path, QString &error)
{
    const QFileInfo file(path);
    if (file.isWritable() && QFileInfo(file.absolutePath()).isWritable())
        return true;
    error = QStringLiteral("无法写入文件: %1").arg(path);
    return false;
}

int runNormalize(const ParsedArguments &args, QTextStream &out, QTextStream &err)
{
    Configuration config;
    QString error;
    if (!loadConfiguration(args.positionals.at(0), config, error))
        return fail(err, error);
    // Both files are checked before either is replaced, so a refused second file does not leave
    // the first one rewritten alone.
    if (!writable(config.monsterPath, error) || !writable(config.boxPath, error))
        return fail(err, error);
    // Kept as the window keeps them before its first save after a load.
    const QDateTime now = QDateTime::currentDateTime();
    QStringList backups;
    for (const QString &path : {config.monsterPath, config.boxPath}) {
        QString backupPath;
        if (!SaveBackup::backupFile(path, now, backupPath, error))
            return fail(err, error);
        if (!backupPath.isEmpty())
            backups << backupPath;
    }
    if (!MonsterDropParser(20).save(config.monsterPath, config.monsters, error) ||
        !DropBoxContentParser(100).save(config.boxPath, config.boxes, error))
        return fail(err, error);
    for (const QString &backup : backups)
        out << QStringLiteral("已备份：%1").arg(backup) << u'\n';
    out << QStringLiteral("已重写：%1").arg(config.monsterPath) << u'\n'
        << QStringLiteral("已重写：%1").arg(config.boxPath) << Qt::endl;
    return Success;
}

} // namespace

bool parseArguments(const QStringList &arguments, const CommandSyntax &syntax,
                    ParsedArguments &parsed, QString &error)
{
    parsed = ParsedArguments();
    bool optionsEnd = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (optionsEnd || !argument.startsWith(u'-') || argument == QStringLiteral("-")) {
            parsed.positionals.append(argument);
            continue;
        }
        if (argument == QStringLiteral("--")) {
            optionsEnd = true;
            continue;
        }
        if (argument == QStringLiteral("--help") || argument == QStringLiteral("-h")) {
            parsed.help = true;
            continue;
        }
        const qsizetype equals = argument.indexOf(u'=');
        const QString name = equals < 0 ? argument : argument.left(equals);
        if (syntax.flags.contains(name) && equals < 0) {
            parsed.flags.insert(name);
        } else if (syntax.valueOptions.contains(name)) {
            if (equals >= 0) {
                parsed.values.insert(name, argument.mid(equals + 1));
            } else if (i + 1 < arguments.size()) {
                parsed.values.insert(name, arguments.at(++i));
            } else {
                error = QStringLiteral("选项 %1 缺少值").arg(name);
                return false;
            }
        } else {
            error = QStringLiteral("未知选项：%1").arg(argument);
            return false;
        }
    }
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
    if (!MonsterDropParser(20).load(config.monsterPath, config.monsters, readerError)) {
        error = config.monsterPath + QStringLiteral(": ") + readerError;
        return false;
    }
    if (!DropBoxContentParser(100).load(config.boxPath, config.boxes, readerError)) {
        error = config.boxPath + QStringLiteral(": ") + readerError;
        return false;
    }
    return true;
}

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
    return text;
}

QByteArray sourcesJson(const QList<ItemSourceIndex::Source> &sources, const NameResolver &names)
{
    QJsonArray array;
    for (const ItemSourceIndex::Source &source : sources) {
        QJsonObject object;
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
        array.append(object);
    }
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}

int run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    if (arguments.isEmpty()) {
        err << generalHelp();
        err.flush();
        return Failure;
    }
    const QString &command = arguments.first();
    if (command == QStringLiteral("--help") || command == QStringLiteral("-h") ||
        command == QStringLiteral("help")) {
        out << generalHelp();
        out.flush();
        return Success;
    }
    for (const CommandSyntax &syntax : commands()) {
        if (syntax.name != command)
            continue;
        ParsedArguments parsed;
        QString error;
        if (!parseArguments(arguments.mid(1), syntax, parsed, error))
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
        return runNormalize(parsed, out, err);
    }
    return fail(err, QStringLiteral("未知命令：%1\n").arg(command) + generalHelp());
}

} // namespace Cli

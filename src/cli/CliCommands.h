#pragma once

#include "data/ConfigCheck.h"
#include "data/DropConfig.h"
#include "data/DropFilePair.h"
#include "data/ItemSourceIndex.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

class NameResolver;
class QTextStream;

// lootwright-cli: the check, the export, the reverse lookup, the kill simulation, the normalising
// save and the comparison of two configurations, for deploy scripts, over the core library alone.
namespace Cli {

enum ExitCode
{
    Success = 0,
    FindingsReported = 1, // check: findings; diff: differences
    Failure = 2,          // bad arguments, unreadable or unwritable files
};

// Runs one command line, the program name left out. Results go to out, messages to err.
int run(const QStringList &arguments, QTextStream &out, QTextStream &err);

// What a command accepts.
struct CommandSyntax
{
    QString name;
    QStringList positionals;  // names shown in the usage line, all required
    QStringList flags;        // "--json"
    QStringList valueOptions; // "--multiplier", taking the next argument or "=value"
    QString help;
};

struct ParsedArguments
{
    QStringList positionals;
    QSet<QString> flags;
    QHash<QString, QString> values;
    bool help = false;
};

// The arguments after the command name, read by QCommandLineParser. False with a message for
// unknown options, a missing value, or the wrong number of positionals (unless --help was given).
bool parseArguments(const QStringList &arguments, const CommandSyntax &syntax,
                    ParsedArguments &parsed, QString &error);

// Both drop files of a configuration directory, read through the editor's own file pair (so a
// save cut short beside them is completed or discarded first; notes says what was done). False
// with the reader's error text.
struct Configuration
{
    QString monsterPath;
    QString boxPath;
    MonsterDropData monsters;
    DropBoxContentData boxes;
    DropFilePair files;
    QStringList notes;
};
bool loadConfiguration(const QString &dir, Configuration &config, QString &error);

// "kind<TAB>message".
QString findingLine(const ConfigCheck::Finding &finding);
QByteArray findingsJson(const QList<ConfigCheck::Finding> &findings);

// A "# " summary line, a header line, then one TAB-separated line per source.
QString sourcesText(int itemId, const QList<ItemSourceIndex::Source> &sources,
                    const NameResolver &names);
QByteArray sourcesJson(const QList<ItemSourceIndex::Source> &sources, const NameResolver &names);

} // namespace Cli

#include "ConfigGenerator.h"

#include <QDir>

// Placeholder until the generator is written.
bool generateConfiguration(const QString &dir, const GeneratorOptions &)
{
    return QDir().mkpath(dir);
}

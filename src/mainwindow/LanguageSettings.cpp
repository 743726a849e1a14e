#include "mainwindow/LanguageSettings.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSettings>
#include <QTranslator>
#include <memory>

namespace LanguageSettings {

namespace {

const char key[] = "language";

struct Running
{
    QString language = chinese();
    QPointer<QTranslator> translator;
};

Running &runningState()
{
    static Running state;
    return state;
}

} // namespace

QString chinese()
{
    return QStringLiteral("zh_CN");
}

QString english()
{
    return QStringLiteral("en");
}

QString stored()
{
    const QString language =
        QSettings(QStringLiteral("Lootwright"), QStringLiteral("Lootwright")).value(key).toString();
    return language == english() ? english() : chinese();
}

bool store(const QString &language)
{
    QSettings settings(QStringLiteral("Lootwright"), QStringLiteral("Lootwright"));
    settings.setValue(key, language);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

QString fileName()
{
    return QSettings(QStringLiteral("Lootwright"), QStringLiteral("Lootwright")).fileName();
}

bool apply(QCoreApplication &application, const QString &language)
{
    Running &state = runningState();
    std::unique_ptr<QTranslator> translator;
    if (language == english()) {
        translator = std::make_unique<QTranslator>(&application);
        if (!translator->load(QStringLiteral(":/i18n/lootwright_en.qm")))
            return false;
    }
    // Chinese is the texts as written: no translator.
    delete state.translator; // a destroyed translator leaves the application by itself
    if (translator) {
        state.translator = translator.release();
        QCoreApplication::installTranslator(state.translator);
    }
    state.language = translator ? english() : chinese();
    return true;
}

QString running()
{
    return runningState().language;
}

} // namespace LanguageSettings

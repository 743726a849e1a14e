#include "WindowTestSupport.h"

#include "TestSupport.h"
#include "mainwindow/LanguageSettings.h"

#include <QAction>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QTest>

using WindowTest::Harness;

class TestLanguage : public QObject
{
    Q_OBJECT

    TestSupport::IsolatedSettings settings;

    static QString storedValue()
    {
        return QSettings(QStringLiteral("Lootwright"), QStringLiteral("Lootwright"))
            .value(QStringLiteral("language"))
            .toString();
    }

private Q_SLOTS:
    void init() { settings.clear(); }
    void cleanup() { QVERIFY(LanguageSettings::apply(*qApp, LanguageSettings::chinese())); }

    void storedLanguage_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("language");
        QTest::newRow("nothing stored") << QString() << "zh_CN";
        QTest::newRow("English") << "en"
                                 << "en";
        QTest::newRow("unknown") << "fr"
                                 << "zh_CN";
    }

    void storedLanguage()
    {
        QFETCH(QString, value);
        QFETCH(QString, language);
        if (!value.isNull())
            QSettings(QStringLiteral("Lootwright"), QStringLiteral("Lootwright"))
                .setValue(QStringLiteral("language"), value);
        QCOMPARE(LanguageSettings::stored(), language);
    }

    void englishWindow()
    {
        QVERIFY(LanguageSettings::store(LanguageSettings::english()));
        QVERIFY(LanguageSettings::apply(*qApp, LanguageSettings::stored()));
        Harness h(QString{});
        QStringList menus;
        for (QAction *action : h.window->menuBar()->actions())
            menus << action->text();
        QCOMPARE(menus, (QStringList{"File", "Edit", "Tools", "Settings"}));
        QCOMPARE(h.child<QPushButton>("loadConfigButton")->text(), QStringLiteral("Load Rates"));
        QCOMPARE(h.child<QPushButton>("applyDropRateButton")->text(), QStringLiteral("Apply"));
        QVERIFY(h.child<QAction>("actionLanguage_en")->isChecked());

        h.child<QAction>("actionSave")->trigger();
        // Choosing the running language says nothing; the other one waits for a restart.
        h.child<QAction>("actionLanguage_en")->trigger();
        h.child<QAction>("actionLanguage_zh_CN")->trigger();
        QCOMPARE(
            h.prompts->transcript(),
            (QStringList{"information|Notice|No configuration file is loaded; nothing to save",
                         "information|Notice|The interface language changes after a restart."}));
        QCOMPARE(storedValue(), QStringLiteral("zh_CN"));
    }
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"

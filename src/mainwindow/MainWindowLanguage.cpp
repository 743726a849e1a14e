#include "mainwindow/MainWindow.h"

#include "dialogs/Prompts.h"
#include "edit/EditResult.h"
#include "mainwindow/LanguageSettings.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>

void MainWindow::createLanguageMenu()
{
    auto *settingsMenu = new QMenu(QCoreApplication::translate("Lootwright", "设置"), menuBar());
    settingsMenu->setObjectName(QStringLiteral("menuSettings"));
    QMenu *languageMenu = settingsMenu->addMenu(QCoreApplication::translate("Lootwright", "语言"));
    languageMenu->setObjectName(QStringLiteral("menuLanguage"));
    auto *group = new QActionGroup(languageMenu);
    const QString stored = LanguageSettings::stored();
    // Each language is named in its own words, never translated.
    const std::pair<QString, const char *> languages[] = {{LanguageSettings::chinese(), "中文"},
                                                          {LanguageSettings::english(), "English"}};
    for (const auto &[code, name] : languages) {
        QAction *action = languageMenu->addAction(QString::fromUtf8(name));
        action->setObjectName(QStringLiteral("actionLanguage_") + code);
        action->setCheckable(true);
        action->setChecked(code == stored);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, code = code] { onLanguageChosen(code); });
    }
    menuBar()->addMenu(settingsMenu);
}

void MainWindow::onLanguageChosen(const QString &language)
{
    if (!LanguageSettings::store(language)) {
        prompts->warning(
            this, EditTexts::errorTitle(),
            QCoreApplication::translate("Lootwright", "语言设置未能保存：设置文件 %1 无法写入")
                .arg(LanguageSettings::fileName()));
        return;
    }
    if (language != LanguageSettings::running())
        prompts->information(
            this, EditTexts::noticeTitle(),
            QCoreApplication::translate("Lootwright", "界面语言将在重新启动后生效。"));
}

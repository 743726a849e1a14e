#pragma once

#include "data/ConfigCheck.h"

#include <QDialog>
#include <functional>

class ConfigDocument;
class QLabel;
class QPushButton;
class ConfigFindingModel;
class QTableView;

// The findings of the configuration check; a double-click goes to the monster or box.
class ConfigCheckDialog : public QDialog
{
    Q_OBJECT

public:
    // Checks the document, again on 重新检查 and after it changed; rates are multiplied by what
    // `multiplier` gives at that time.
    ConfigCheckDialog(ConfigDocument *document, std::function<double()> multiplier,
                      QWidget *parent = nullptr);

    void recheck();
    void showFindings(const QList<ConfigCheck::Finding> &findings);

    QTableView *view() const { return findingsView; }

Q_SIGNALS:
    // The ids of a double-clicked finding, -1 where none is involved.
    void findingActivated(int monsterId, int boxId);

private:
    ConfigDocument *document;
    std::function<double()> multiplier;
    QLabel *summaryLabel = nullptr;
    QPushButton *recheckButton = nullptr;
    QTableView *findingsView = nullptr;
    ConfigFindingModel *findingModel = nullptr;
};

#pragma once

#include "data/DropConfig.h"

#include <QDialog>
#include <memory>

class ConfigDocument;
class DropChangeListModel;
class Prompts;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class QTimer;

// What differs between two states of both documents (the files as last read or written and the
// documents now): record changes and rate changes in two tabs, filtered by id or name, copied or
// saved as text. Keeps no documents, only the comparison; whoever changes them calls
// setDocuments again.
class DropChangesDialog : public QDialog
{
    Q_OBJECT

public:
    // Without prompts the dialog shows the real file dialog and message boxes.
    explicit DropChangesDialog(Prompts *prompts = nullptr, QWidget *parent = nullptr);
    ~DropChangesDialog() override;

    void setDocuments(const MonsterDropData &beforeMonsters, const DropBoxContentData &beforeBoxes,
                      const MonsterDropData &afterMonsters, const DropBoxContentData &afterBoxes);

    // Compares the document's saved state with the document now, and again after it changes.
    void followDocument(ConfigDocument *document);

    QTabWidget *tabs() const { return tabWidget; }
    QTableView *recordsView() const { return recordView; }
    QTableView *ratesView() const { return rateView; }

Q_SIGNALS:
    // A row was double-clicked: its monster and box, -1 where it names none.
    void goToRequested(int monsterId, int boxId);

private:
    QTableView *makeView(DropChangeListModel *model, const QString &name);
    DropChangeListModel *currentModel() const;
    void updateTexts();
    void onActivated(DropChangeListModel *model, const QModelIndex &index);
    void onFilter();
    void onCopy();
    void onSave();

    Prompts *prompts;
    ConfigDocument *followed = nullptr;
    std::unique_ptr<Prompts> ownPrompts;
    QLabel *summaryLabel = nullptr;
    QLineEdit *filterEdit = nullptr;
    QPushButton *copyButton = nullptr;
    QPushButton *saveButton = nullptr;
    QTabWidget *tabWidget = nullptr;
    QTableView *recordView = nullptr;
    QTableView *rateView = nullptr;
    DropChangeListModel *recordModel = nullptr;
    DropChangeListModel *rateModel = nullptr;
    QTimer *filterTimer = nullptr;
};

// The program's only window: editor of the whole card configuration and its
// only storage between a load and a save.
#pragma once

#include <QString>
#include <QWidget>
#include <utility>

#include "app/CommandStrip.h"
#include "app/ConfigurationFields.h"
#include "app/ConvertPage.h"
#include "app/ExitGuard.h"
#include "app/MenusPage.h"
#include "config/CallFlowCheck.h"
#include "config/CardFolder.h"
#include "config/DeviceConfiguration.h"

class QFrame;
class QTabWidget;
class QTimer;

namespace quorvel {

class CardError;
class FilteredLineEdit;
class MaskedEdit;
class MessageBoxes;
class VerificationList;

class TMainFormQuorvel : public QWidget {
    Q_OBJECT

public:
    // `programFolder` is the card folder; creation runs FormCreate.
    TMainFormQuorvel(const QString& programFolder, MessageBoxes& boxes, FileSystem& fileSystem = realFileSystem(),
                     QWidget* parent = nullptr);

    bool dataChanged() const { return dataChanged_; }
    const QString& programFolder() const { return programFolder_; }

    // Whether the window may close now; asks when there are unsaved changes.
    bool FormCloseQuery();

public Q_SLOTS:
    void FormCreate();
    void btGravaClick();
    void btClearClick();
    void Label97Click();
    void Label98Click();
    void Label99Click();
    void Label100Click();

    void x001Change();
    void x001Exit(quorvel::FilteredLineEdit* field);
    void HoraDom1Exit(quorvel::MaskedEdit* field);
    void edFer1Exit(quorvel::MaskedEdit* field);
    void edRestauraExit();
    void tChangeTimer();
    void PageControl1Change(int index);
    void lbVerificaClick();
    void lvVerificaDblClick(int row);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void connectHandlers();
    // Reads every record file into the fields. Throws CardError after
    // showing what was read before the failure.
    void loadConfigurationIntoFields();
    void showCardError(const CardError& error);
    void copyDay(DayKind source, std::initializer_list<DayKind> targets);
    // Runs the call-flow check on the fields and shows its outcome.
    void refreshVerification();
    // The page and the field a finding concerns.
    std::pair<int, QWidget*> fieldOf(const FindingPlace& place);

    QString programFolder_;
    MessageBoxes& boxes_;
    CardFolder card_;
    ExitGuard guard_;
    ConfigurationFields fields_;
    MenusPage menusPage_;
    ConvertPage convertPage_;
    CommandStrip commands_;
    QTabWidget* pageControl_ = nullptr;
    QFrame* painel_ = nullptr;
    QTimer* tChange_ = nullptr;
    VerificationList* verificationList_ = nullptr;
    bool dataChanged_ = false;
};

}  // namespace quorvel

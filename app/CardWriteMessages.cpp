#include "app/CardWriteMessages.h"

#include "app/QtText.h"
#include "config/CardError.h"
#include "shell/MessageBoxes.h"

namespace quorvel {

CardSession::Hold holdCard(CardSession& session, MessageBoxes& boxes, QWidget* parent) {
    CardSession::HoldResult held = session.hold(std::chrono::milliseconds(0), true);
    if (!held.hold) {
        boxes.showMessage(parent, QString::fromUtf8("O cartão está sendo gravado por %1. Tente novamente.")
                                      .arg(toQString(held.holder.describe())));
    }
    return std::move(held.hold);
}

void showReadError(MessageBoxes& boxes, QWidget* parent, const CardResult& result) {
    boxes.showError(parent, toQString(errorBoxText(result.message)));
}

void showWriteError(MessageBoxes& boxes, QWidget* parent, const CardResult& result) {
    QString text = toQString(errorBoxText(result.message));
    if (!result.file.empty()) text += QStringLiteral("\n") + toQString(result.file);
    switch (result.state) {
        case CardState::Unchanged:
            text += QString::fromUtf8("\n\nNada foi gravado: o cartão continua com a configuração anterior.");
            break;
        case CardState::Written:
            text += QString::fromUtf8("\n\nA nova configuração foi gravada, mas pode não estar toda no cartão.");
            break;
        case CardState::Mixed:
            text += QString::fromUtf8(
                "\n\nO cartão ficou com parte da configuração nova e parte da anterior: "
                "grave de novo ou restaure o cartão.");
            break;
    }
    boxes.showError(parent, text);
}

}  // namespace quorvel

// The call-flow findings in a window of their own that stays open beside
// the editor: it blocks nothing, and double-clicking a finding asks the
// editor to show its field.
#pragma once

#include <QWidget>
#include <vector>

#include "config/CallFlowCheck.h"

class QListWidget;

namespace quorvel {

class VerificationList : public QWidget {
    Q_OBJECT

public:
    explicit VerificationList(QWidget* owner);

    void setFindings(const std::vector<Finding>& findings);
    const FindingPlace& place(int row) const { return places_[static_cast<std::size_t>(row)]; }

Q_SIGNALS:
    // The finding in `row` was double-clicked or chosen with Enter.
    void chosen(int row);

private:
    QListWidget* list_ = nullptr;
    std::vector<FindingPlace> places_;
};

// "Nenhum problema encontrado", "1 aviso", "N avisos".
QString verificationSummary(std::size_t findingCount);

}  // namespace quorvel

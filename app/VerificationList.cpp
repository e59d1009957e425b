#include "app/VerificationList.h"

#include <QListWidget>
#include <QVBoxLayout>

#include "app/QtText.h"

namespace quorvel {

VerificationList::VerificationList(QWidget* owner) : QWidget(owner, Qt::Tool) {
    setObjectName(QStringLiteral("fmVerifica"));
    setWindowTitle(QString::fromUtf8("Verificação do cartão"));
    resize(560, 300);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("lvVerifica"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    connect(list_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { Q_EMIT chosen(list_->row(item)); });
}

void VerificationList::setFindings(const std::vector<Finding>& findings) {
    list_->clear();
    places_.clear();
    for (const Finding& finding : findings) {
        list_->addItem(toQString(finding.message));
        places_.push_back(finding.place);
    }
}

QString verificationSummary(std::size_t findingCount) {
    if (findingCount == 0) return QStringLiteral("Nenhum problema encontrado");
    if (findingCount == 1) return QStringLiteral("1 aviso");
    return QStringLiteral("%1 avisos").arg(findingCount);
}

}  // namespace quorvel

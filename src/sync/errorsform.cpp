#include "sync/errorsform.h"

#include "sync/error_model.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

ErrorsForm::ErrorsForm(ErrorListModel* errors, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ErrorsForm"));
    setWindowTitle(QStringLiteral("Errors"));
    setModal(true);

    ErrorsList = new QTreeView(this);
    ErrorsList->setObjectName(QStringLiteral("ErrorsList"));
    ErrorsList->setAccessibleName(QStringLiteral("ErrorsList"));
    ErrorsList->setRootIsDecorated(false);
    ErrorsList->setUniformRowHeights(true);
    ErrorsList->setItemsExpandable(false);
    ErrorsList->setAlternatingRowColors(true);
    ErrorsList->setModel(errors);

    OKCommand = new QPushButton(QStringLiteral("OK"), this);
    OKCommand->setObjectName(QStringLiteral("OKCommand"));
    OKCommand->setAccessibleName(QStringLiteral("OKCommand"));
    OKCommand->setDefault(true);
    connect(OKCommand, &QPushButton::clicked, this, &ErrorsForm::OKCommand_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKCommand);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ErrorsList);
    layout->addLayout(buttons);

    // Columns: a quarter each, the error text 0.22 of the list's width at creation.
    resize(760, 340);
    layout->activate();
    const int w = ErrorsList->viewport()->width() > 100 ? ErrorsList->viewport()->width() : 740;
    ErrorsList->header()->setStretchLastSection(true);
    ErrorsList->setColumnWidth(ErrorListModel::FileName, w / 4);
    ErrorsList->setColumnWidth(ErrorListModel::Source, w / 4);
    ErrorsList->setColumnWidth(ErrorListModel::Target, w / 4);
    ErrorsList->setColumnWidth(ErrorListModel::Error, int(w * 0.22));
}

void ErrorsForm::OKCommand_Click()
{
    accept(); // hides the window; the rows stay
}

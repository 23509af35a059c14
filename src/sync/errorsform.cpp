#include "sync/errorsform.h"

#include "sync/error_model.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QTreeView>
#include <QVBoxLayout>

ErrorsForm::ErrorsForm(ErrorListModel* errors, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ErrorsForm"));
    setWindowTitle(QStringLiteral("Errors"));
    setModal(true);

    ErrorsList = new QTreeView(this);
    ErrorsList->setObjectName(QStringLiteral("ErrorsList"));
    ErrorsList->setAccessibleName(QStringLiteral("Errors")); // the window's caption
    ErrorsList->setRootIsDecorated(false);
    ErrorsList->setUniformRowHeights(true);
    ErrorsList->setItemsExpandable(false);
    ErrorsList->setAlternatingRowColors(true);
    ErrorsList->setModel(errors);

    OKCommand = new QPushButton(QStringLiteral("OK"), this);
    OKCommand->setObjectName(QStringLiteral("OKCommand"));
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

void ErrorsForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    fitReasons();
}

void ErrorsForm::fitReasons()
{
    // The reason is the last column and takes the room the others leave. The window widens,
    // as far as the screen allows, until the longest reason fits; what still does not fit
    // wraps onto more lines.
    const QAbstractItemModel* model = ErrorsList->model();
    const QFontMetrics metrics = ErrorsList->fontMetrics();
    int widest = 0;
    for (int row = 0; row < model->rowCount(); ++row) {
        const QString reason = model->index(row, ErrorListModel::Error).data().toString();
        widest = qMax(widest, metrics.horizontalAdvance(reason));
    }
    const int needed = widest + 4 * metrics.averageCharWidth();
    const int shortBy = needed - ErrorsList->columnWidth(ErrorListModel::Error);
    int grown = 0;
    if (shortBy > 0) {
        const QScreen* shown = screen();
        const int room = shown ? shown->availableGeometry().width() - frameGeometry().width() : 0;
        grown = qBound(0, shortBy, room);
        resize(width() + grown, height());
    }
    const bool wrap = shortBy > grown;
    ErrorsList->setWordWrap(wrap);
    ErrorsList->setUniformRowHeights(!wrap);
}

void ErrorsForm::OKCommand_Click()
{
    accept(); // hides the window; the rows stay
}

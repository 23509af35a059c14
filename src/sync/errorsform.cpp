// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/errorsform.h"

#include "results/error_model.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTextLayout>
#include <QTreeView>
#include <QVBoxLayout>

#include <cmath>

namespace {

// What a cell takes from its width for margins.
int reasonMargins(const QTreeView* view)
{
    return 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
}

// Rows as high as their reason needs when it wraps in the width of its column.
class WrappedReasons : public QStyledItemDelegate
{
public:
    explicit WrappedReasons(QTreeView* view) : QStyledItemDelegate(view), m_view(view) {}

    // Only the reason wraps; a long name or folder keeps one line. Folders are shortened at
    // their start, since two entries' folders differ at their ends, names at their end (the
    // whole text is the tooltip).
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() != ErrorListModel::Error) {
            option->features &= ~QStyleOptionViewItem::WrapText;
            option->textElideMode =
                index.column() == ErrorListModel::FileName ? Qt::ElideRight : Qt::ElideLeft;
        }
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (index.column() != ErrorListModel::Error)
            return size;
        const int width = m_view->columnWidth(index.column()) - reasonMargins(m_view);
        QTextLayout layout(index.data().toString(), option.font);
        QTextOption wrap;
        wrap.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(wrap);
        qreal height = 0;
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(qMax(width, 1));
            height += line.height();
        }
        layout.endLayout();
        size.setHeight(qMax(size.height(), int(std::ceil(height)) + 2));
        return size;
    }

private:
    QTreeView* m_view;
};

} // namespace

ErrorsForm::ErrorsForm(ErrorListModel* errors, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ErrorsForm"));
    setWindowTitle(tr("Errors"));
    setModal(true);

    ErrorsList = new QTreeView(this);
    ErrorsList->setObjectName(QStringLiteral("ErrorsList"));
    ErrorsList->setAccessibleName(tr("Errors")); // the window's caption
    ErrorsList->setRootIsDecorated(false);
    ErrorsList->setWordWrap(true);
    ErrorsList->setItemDelegate(new WrappedReasons(ErrorsList));
    ErrorsList->setItemsExpandable(false);
    ErrorsList->setAlternatingRowColors(true);
    ErrorsList->setModel(errors);

    OKCommand = new QPushButton(tr("OK"), this);
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
    // A column of another width wraps its reasons onto another number of lines.
    connect(ErrorsList->header(), &QHeaderView::sectionResized, this,
            [this] { ErrorsList->doItemsLayout(); });
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
    int widest = 0;
    for (int row = 0; row < model->rowCount(); ++row) {
        const QString reason = model->index(row, ErrorListModel::Error).data().toString();
        widest = qMax(widest, ErrorsList->fontMetrics().horizontalAdvance(reason));
    }
    const int shortBy =
        widest + reasonMargins(ErrorsList) - ErrorsList->columnWidth(ErrorListModel::Error);
    const QScreen* shown = screen();
    const int room = shown ? shown->availableGeometry().width() - frameGeometry().width() : 0;
    if (shortBy > 0 && room > 0)
        resize(width() + qMin(shortBy, room), height());
}

void ErrorsForm::OKCommand_Click()
{
    accept(); // hides the window; the rows stay
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QPushButton;
class QTreeView;
class ErrorListModel;

// "Errors": the failed copies of the last synchronization. Created hidden at start-up and
// shown modally on request; hiding it keeps the rows.
class ErrorsForm : public QDialog
{
    Q_OBJECT
public:
    ErrorsForm(ErrorListModel* errors, QWidget* parent);
    QTreeView* list() const { return ErrorsList; }
    void OKCommand_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fitReasons();
    QTreeView* ErrorsList = nullptr;
    QPushButton* OKCommand = nullptr;
};

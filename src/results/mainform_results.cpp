#include "app/mainform.h"

// The result lists' commands: check marks, deleting files, sorting, opening files.
// (Arrives with the result list commands.)

void MainForm::ListView_KeyUp(ResultListModel&, int, Qt::KeyboardModifiers) {}

void MainForm::ListView_ColumnClick(ResultListModel&, int) {}

void MainForm::ListView_DblClick(ResultListModel&) {}

void MainForm::OpenFile_Click() {}

void MainForm::connectFileMenu() {}

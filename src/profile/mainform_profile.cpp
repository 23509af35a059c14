#include "app/mainform.h"

// The profile list and its toolbar. (Arrives with profile editing.)

void MainForm::TbrProfile_ButtonClick(int) {}

void MainForm::ProfileList_DblClick() {}

void MainForm::ProfileList_MouseDown(Qt::MouseButton) {}

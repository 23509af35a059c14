// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainform.h"

#include "profile/desktop_shortcut.h"
#include "profile/profile_list_commands.h"
#include "profile/srctgtform.h"

#include <QTreeView>

// The profile list and its toolbar: new, edit and delete entry, and the desktop shortcut.

void MainForm::TbrProfile_ButtonClick(int position)
{
    // The editor is created afresh for every opening and reads the buffer when it is created.
    const EntryEditor editor = [this](AppState& state) {
        SrcTgtForm form(state, m_cb, this);
        form.exec();
    };
    switch (position) {
    case 1:
        if (newProfileEntry(m_state, editor)) {
            QFont font = ProfileList->font();
            font.setPointSize(8);
            ProfileList->setFont(font);
        }
        break;
    case 2:
        editProfileEntry(m_state, selectedRow(ProfileList), editor);
        break;
    case 3:
        deleteProfileEntry(m_state, selectedRow(ProfileList));
        break;
    case 4:
        createDesktopShortcut(m_state.ProfileFileName, userLauncherPlace(), m_cb);
        break;
    default:
        break;
    }
}

void MainForm::ProfileList_DblClick()
{
    TbrProfile_ButtonClick(2);
}

void MainForm::ProfileList_MouseDown(Qt::MouseButton button)
{
    if (button == Qt::RightButton)
        ProfileList->setFocus(Qt::MouseFocusReason);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/callbacks.h"
#include "run/app_state.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

// The entry editor "Source and Target Folders": the four texts of one profile entry. It takes
// its starting values from state.entryBuffer when it is created and writes them back only on
// OK, which also marks the profile as changed. Cancel, Esc and the close box change nothing.
class SrcTgtForm : public QDialog
{
    Q_OBJECT
public:
    SrcTgtForm(AppState& state, const Callbacks& cb, QWidget* parent = nullptr);

    void OKCmd_Click();
    void Cancelcmd_Click();
    void SourceBrowse_Click();
    void TargetBrowse_Click();
    void IncludeDefault_Click();
    void ExcludeDefault_Click();

    // Where the folder picker starts for a typed text: the folder itself, or the nearest
    // folder above it that exists; empty when nothing usable is typed.
    static QString browseStart(const QString& typed);

private:
    void buildForm();
    void browseInto(QLineEdit* text);

    AppState& m_state;
    const Callbacks& m_cb;

    QLineEdit* SourceText = nullptr;
    QLineEdit* TargetText = nullptr;
    QLineEdit* IncludeText = nullptr;
    QLineEdit* ExcludeText = nullptr;
    QPushButton* OKCmd = nullptr;
    QPushButton* Cancelcmd = nullptr;
    QPushButton* SourceBrowse = nullptr;
    QPushButton* TargetBrowse = nullptr;
    QPushButton* IncludeDefault = nullptr;
    QPushButton* ExcludeDefault = nullptr;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QTreeWidget;

// "Run Log": the last runs of the run log (every synchronization of the window, of its
// unattended run and of ketrano-cli), newest first: when, which program and profile, the
// directions, what was copied, the failures and how the run ended.
class RunLogWindow : public QDialog
{
    Q_OBJECT
public:
    // How many runs the window shows.
    static constexpr int Runs = 200;

    explicit RunLogWindow(QWidget* parent);
    QTreeWidget* list() const { return m_list; }

    // How a run ended, from its exit status.
    static QString statusText(int status);

private:
    QTreeWidget* m_list = nullptr;
};

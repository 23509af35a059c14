// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QTextBrowser;

// The program's manual, help.html of the help folder, in a window of its own.
class HelpWindow : public QDialog
{
    Q_OBJECT
public:
    HelpWindow(const QString& helpFolder, QWidget* parent);
    QTextBrowser* browser() const { return m_browser; }
    bool loaded() const { return m_loaded; }

private:
    QTextBrowser* m_browser = nullptr;
    bool m_loaded = false;
};

// The help folder of a program installed in programFolder: share/ketrano/help beside it
// (programFolder/../share/ketrano/help) when it holds help.html, otherwise help/ of the
// source tree the program was built from.
QString helpFolderFor(const QString& programFolder);

// The about window: the program's name and version, "Ketrano Backup ver 2.01".
QDialog* createAboutDialog(QWidget* parent);
// Shows the about window modally.
void showAbout(QWidget* parent);

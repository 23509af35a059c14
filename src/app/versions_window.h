// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sync/versions.h"

#include <QDialog>
#include <functional>
#include <vector>

class QPushButton;
class QSpinBox;
class QTreeWidget;

// "Show Versions" of a result row: the versions kept of its destination, newest first, with
// Restore (puts the selected one back in place; the file it replaces is kept as a version
// first) and Open.
class VersionsWindow : public QDialog
{
    Q_OBJECT
public:
    // 'profile' is the profile file whose runs must not write meanwhile ("" for none).
    VersionsWindow(const QString& root, const QString& relativePath, const QString& profile,
                   QWidget* parent);
    QTreeWidget* list() const { return m_list; }
    // Tells what happened (a restore, a failure), as a message box would.
    std::function<void(const QString& text)> tell;
    std::function<void(const QString& path)> open;

    void restoreSelected();

private:
    void fill();
    const KeptVersion* selected() const;

    QString m_root;
    QString m_relativePath;
    QString m_profile;
    std::vector<KeptVersion> m_versions;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_restore = nullptr;
    QPushButton* m_open = nullptr;
};

// How many days the versions of replaced files are kept: the one place in the window where the
// setting is changed (Ctrl+, opens it). Saves on OK.
class KeepVersionsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit KeepVersionsDialog(QWidget* parent);
    QSpinBox* days() const { return m_days; }
    // Saves the days shown; what failed, or a null string.
    QString save() const;

private:
    QSpinBox* m_days = nullptr;
};

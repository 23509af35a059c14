// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>

class QLabel;
class QPushButton;
class QToolButton;

// A bar above the lists that tells what the scan could not read or refused, and which damaged
// records loading the profile skipped, without stopping anyone: an icon, the first notice and
// how many more, a button that opens the error list and a close button. It never waits for an
// answer, so an unattended run goes on. Screen readers hear the notice as the label's text and
// as the description of the button; Alt+E opens the list, Tab reaches both buttons.
class NoticeBar : public QFrame
{
    Q_OBJECT
public:
    explicit NoticeBar(QWidget* parent);

    // The notices as they stand: the first one's text and how many there are. None hides the
    // bar; new ones show it unless the user closed it since the last reopen().
    void setNotices(const QString& first, int count);
    // A scan or a profile load starts afresh: what it reports shows again.
    void reopen();
    QString text() const;

Q_SIGNALS:
    void showErrorsClicked();

private:
    void closeClicked();

    QLabel* m_text = nullptr;
    QPushButton* m_showErrors = nullptr;
    QToolButton* m_close = nullptr;
    bool m_closed = false;
    int m_count = 0;
};

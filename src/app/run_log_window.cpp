// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/run_log_window.h"

#include "core/run_log.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// "files=12" -> "12"; a field without its name as it is.
QString valueOf(const QString& field)
{
    const qsizetype equals = field.indexOf(QLatin1Char('='));
    return equals < 0 ? field : field.mid(equals + 1);
}

} // namespace

QString RunLogWindow::statusText(int status)
{
    switch (status) {
    case 0:
        return tr("Done");
    case 1:
        return tr("Some copies failed");
    case 2:
        return tr("Unusable input");
    case 3:
        return tr("Another run held the profile");
    case 129:
    case 130:
    case 143:
        return tr("Stopped");
    default:
        return tr("Ended with status %1").arg(status);
    }
}

RunLogWindow::RunLogWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("RunLogWindow"));
    setWindowTitle(tr("Run Log"));
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("RunLogList"));
    m_list->setAccessibleName(tr("Run Log"));
    m_list->setRootIsDecorated(false);
    m_list->setAlternatingRowColors(true);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setHeaderLabels({tr("Started"), tr("Program"), tr("Profile"), tr("Source to Target"),
                             tr("Target to Source"), tr("Files copied"), tr("KB copied"),
                             tr("Errors"), tr("Result")});
    m_list->setTextElideMode(Qt::ElideLeft); // a profile's file name is at its end

    QStringList lines;
    QString error;
    auto* note = new QLabel(this);
    note->setObjectName(QStringLiteral("RunLogNote"));
    note->setWordWrap(true);
    note->setTextInteractionFlags(Qt::TextSelectableByMouse);
    if (!RunLog::lastLines(Runs, lines, &error))
        note->setText(tr("The run log cannot be read: %1").arg(error));
    else if (lines.isEmpty())
        note->setText(tr("No synchronization has run yet. The run log is %1.").arg(RunLog::path()));
    else
        note->setText(tr("The last runs, newest first, from %1.").arg(RunLog::path()));

    const QLocale locale;
    for (auto it = lines.crbegin(); it != lines.crend(); ++it) {
        const QStringList f = it->split(QLatin1Char('\t'));
        if (f.size() != 8)
            continue; // not a line of this program
        const QDateTime started = QDateTime::fromString(f[0], Qt::ISODate).toLocalTime();
        const QStringList directions = f[3].split(QLatin1Char(' '));
        const auto direction = [&](int i) {
            return valueOf(directions.value(i)) == QLatin1String("on") ? tr("on") : tr("off");
        };
        bool ok = false;
        const int status = valueOf(f[7]).toInt(&ok);
        auto* item = new QTreeWidgetItem(
            m_list,
            {started.isValid() ? locale.toString(started, QLocale::ShortFormat) : f[0], f[1], f[2],
             direction(0), direction(1), valueOf(f[4]), locale.toString(valueOf(f[5]).toLongLong()),
             valueOf(f[6]), ok ? statusText(status) : f[7]});
        item->setToolTip(2, f[2]);
        for (int column : {5, 6, 7})
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    }
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->header()->setSectionResizeMode(2, QHeaderView::Stretch);
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(900, 420);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/cli_run.h"

#include <QJsonDocument>
#include <gtest/gtest.h>

QStringList CliRun::lines() const
{
    return QString::fromUtf8(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QJsonObject CliRun::json() const
{
    return QJsonDocument::fromJson(out).object();
}

CliRun runCli(const QStringList& args, const QStringList& env, const std::function<void()>& inChild,
              const std::function<void(QProcess&)>& during)
{
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    for (const QString& kv : env) {
        if (kv.endsWith(QLatin1Char('=')))
            e.remove(kv.chopped(1));
        else
            e.insert(kv.section(QLatin1Char('='), 0, 0), kv.section(QLatin1Char('='), 1));
    }
    QProcess p;
    p.setProcessEnvironment(e);
    p.setChildProcessModifier(inChild); // an empty one does nothing
    p.start(QStringLiteral(KETRANO_CLI), args);
    if (during && p.waitForStarted())
        during(p);
    return finishCli(p);
}

CliRun finishCli(QProcess& p)
{
    EXPECT_TRUE(p.waitForFinished(120000)) << "ketrano-cli did not end within two minutes";
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            QString::fromUtf8(p.readAllStandardError())};
}

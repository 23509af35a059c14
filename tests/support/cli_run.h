// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>

// One run of the built ketrano-cli (KETRANO_CLI), as a test sees it.
struct CliRun
{
    int status = -1; // the exit status; -1 when a signal ended the program
    QByteArray out;
    QString err;
    QStringList lines() const; // the lines of the output, empty ones left out
    QJsonObject json() const;  // the output as one JSON document
};

// Runs ketrano-cli with the arguments and waits for its end. In 'env', "NAME=value" sets a
// variable and "NAME=" removes it; 'inChild' runs in the child just before the program
// starts, 'during' in the test while the program runs.
CliRun runCli(const QStringList& args, const QStringList& env = {},
              const std::function<void()>& inChild = {},
              const std::function<void(QProcess&)>& during = {});
// Waits for a ketrano-cli the test started and takes what it printed.
CliRun finishCli(QProcess& process);

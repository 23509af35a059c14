// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

void installTranslations(const QLocale& locale)
{
    // Kept for the program's lifetime: an installed translator must outlive its use.
    static QTranslator qt;
    static QTranslator own;
    for (QTranslator* t : {&qt, &own})
        QCoreApplication::removeTranslator(t);
    if (qt.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qt);
    if (own.load(locale, QStringLiteral("ketrano"), QStringLiteral("_"), QStringLiteral(":/i18n")))
        QCoreApplication::installTranslator(&own);
}

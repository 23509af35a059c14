// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>

// Loads the window's translation for the locale and Qt's own (its dialogs' buttons and
// texts), where there are ones: the program's texts are English otherwise. ketrano-cli loads
// none, so its output stays the same in every language.
void installTranslations(const QLocale& locale = QLocale());

// SPDX-License-Identifier: GPL-3.0-or-later
// The interface's language: Tabulon's own translation and Qt's, chosen from a locale.
#pragma once

#include <QLocale>
#include <QTranslator>

// While it lives, the application's texts appear in the first of the locale's interface
// languages that Tabulon is translated into: its own texts from the translation built into
// the program, and the texts of Qt's standard dialogs and buttons from Qt's translations
// (when the system has them). English, the language the texts are written in, ends the
// search: a user who prefers English before German sees English. Report lines are data
// and never go through a translation.
class Translations {
public:
    explicit Translations(const QLocale& locale = QLocale::system());

    // The language chosen, or QLocale::English when the interface stays as written.
    QLocale::Language Language() const { return m_language; }

private:
    QTranslator m_own;
    QTranslator m_qt;
    QLocale::Language m_language = QLocale::English;
};

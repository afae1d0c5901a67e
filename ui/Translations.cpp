// SPDX-License-Identifier: GPL-3.0-or-later
#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

Translations::Translations(const QLocale& locale) {
    for (const QString& name : locale.uiLanguages()) {
        const QLocale wanted(name);
        if (wanted.language() == QLocale::English || wanted.language() == QLocale::C)
            return;
        if (!m_own.load(wanted, QStringLiteral("tabulon"), QStringLiteral("_"),
                        QStringLiteral(":/i18n")))
            continue;
        m_language = wanted.language();
        QCoreApplication::installTranslator(&m_own);
        if (m_qt.load(wanted, QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(&m_qt);
        return;
    }
}

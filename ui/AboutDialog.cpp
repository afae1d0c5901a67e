// SPDX-License-Identifier: GPL-3.0-or-later
#include "AboutDialog.h"

#include "AppIcon.h"
#include "TabulonVersion.h"

#include <QLabel>
#include <QPushButton>

CAboutDialog::CAboutDialog(QWidget* parent) : CDialog(parent) {
    setObjectName(QStringLiteral("IDD_ABOUTBOX"));
    setWindowTitle(tr("About Tabulon"));
    setFixedSize(MapDialogRect(0, 0, 217, 55).size());

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("IDR_MAINFRAME"));
    icon->setPixmap(AppIcon().pixmap(32, 32));
    icon->setGeometry(QRect(MapDialogRect(11, 17, 0, 0).topLeft(), QSize(32, 32)));

    auto* version =
        new QLabel(tr("Tabulon Version %1").arg(QLatin1String(kTabulonShortVersion)), this);
    version->setObjectName(QStringLiteral("IDC_VERSION"));
    version->setTextFormat(Qt::PlainText);
    version->setGeometry(MapDialogRect(40, 10, 119, 8));

    auto* subject = new QLabel(tr("Life insurance and pensions"), this);
    subject->setTextFormat(Qt::PlainText);
    subject->setGeometry(MapDialogRect(40, 25, 119, 8));

    auto* licence = new QLabel(tr("Licence: GNU GPL version 3 or later"), this);
    licence->setObjectName(QStringLiteral("IDC_LICENCE"));
    licence->setTextFormat(Qt::PlainText);
    licence->setGeometry(MapDialogRect(40, 40, 170, 8));

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("IDOK"));
    ok->setDefault(true);
    ok->setGeometry(MapDialogRect(178, 7, 32, 14));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

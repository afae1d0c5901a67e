// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the desktop program's windows to PNG files: the main window after a term-life
// run with both report sections, the same window zoomed in with the find bar showing a
// match, the Charts window of that run and the image Save Image writes of it, the Charts
// window of a run whose values are not defined, the three input dialogs (the product dialog
// holding a two-leg product; also with a 14-point font), the main window and the Charts
// window after that product, and the about box, in the language of the user's locale
// (LANGUAGE=de renders them in German). Usage: tabulon-screenshots OUTPUT_FOLDER
#include "AboutDialog.h"
#include "ChartsWindow.h"
#include "CommandLineInfo.h"
#include "FindBar.h"
#include "MainFrame.h"
#include "PolicyInputDialog.h"
#include "ProductDialog.h"
#include "TabulonApp.h"
#include "TabulonView.h"
#include "Translations.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>
#include <optional>

namespace {

// The values of a term-life policy with both report sections, as if typed and accepted.
std::optional<PolicyDialogData> TermLifeAnswer(PolicyKind, const PolicyDialogData&) {
    PolicyDialogData values;
    values.m_bNetIncome = 1;
    values.m_bMortality = 1;
    values.m_nInputKind = 1;
    values.m_nAge = 40;
    values.m_fAmount = 100000;
    values.m_nRate = 4;
    values.m_nTableIndex = 0;
    values.m_nPolicyIndex = 1;
    values.m_nTerm = 20;
    return values;
}

// Whole life at 106 on table 3, where nobody lives: the charts name the values they leave
// out.
std::optional<PolicyDialogData> UndefinedAnswer(PolicyKind kind, const PolicyDialogData& shown) {
    std::optional<PolicyDialogData> values = TermLifeAnswer(kind, shown);
    values->m_nAge = 106;
    values->m_nTableIndex = 2;
    values->m_nPolicyIndex = 0;
    values->m_nTerm = 1;
    return values;
}

// A product of two legs on table 1: 1,000 of term cover for 20 years and 2,500 a year from
// 65 for life on a life aged 45, premiums for 20 years, with its policy values.
ProductDialogValues TwoLegProduct() {
    ProductDialogValues values;
    values.age = 45;
    BenefitLeg cover;
    cover.kind = LegKind::Term;
    cover.amount = 1000;
    cover.term = 20;
    BenefitLeg pension;
    pension.kind = LegKind::Annuity;
    pension.amount = 2500;
    pension.deferral = 20;
    values.product.benefits = {cover, pension};
    values.product.premium.term = 20;
    values.policyValues = true;
    return values;
}

bool Save(const QPixmap& picture, const QDir& folder, const char* name) {
    const QString path = folder.filePath(QLatin1String(name));
    if (!picture.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const Translations translations;
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QCoreApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    QCoreApplication::setApplicationName(QStringLiteral("Tabulon"));

    CTabulonApp tabulon;
    if (!tabulon.InitInstance(CCommandLineInfo{}))
        return 1;
    CMainFrame* frame = tabulon.GetMainFrame();
    frame->resize(900, 640);
    tabulon.GetDocument().SetValuesPrompt(TermLifeAnswer);
    frame->findChild<QAction*>(QStringLiteral("ID_TYPE_INSURANCE"))->trigger();
    QApplication::processEvents();

    bool saved = Save(frame->grab(), folder, "main-window.png");
    // Zoomed in, the find bar open on a match, and on a text that is nowhere.
    frame->GetView()->SetZoom(125);
    FindBar* find = frame->GetFindBar();
    find->Open();
    find->findChild<QLineEdit*>(QStringLiteral("FindText"))->setText(QStringLiteral("Term"));
    find->FindNext(false);
    QApplication::processEvents();
    saved &= Save(frame->grab(), folder, "main-window-find.png");
    find->findChild<QLineEdit*>(QStringLiteral("FindText"))->setText(QStringLiteral("annuity"));
    find->FindNext(true);
    QApplication::processEvents();
    saved &= Save(find->grab(), folder, "find-bar-not-found.png");
    find->Close();
    frame->GetView()->SetZoom(100);
    // The Charts window floating on its own, at a size that shows the three charts whole.
    ChartsWindow* charts = frame->GetChartsWindow();
    charts->setFloating(true);
    charts->resize(620, 1120);
    charts->show();
    QApplication::processEvents();
    saved &= Save(charts->grab(), folder, "charts-window.png");
    // The same charts as Save Image writes them.
    QString error;
    if (!charts->SaveImage(folder.filePath(QStringLiteral("charts-image.png")), error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        saved = false;
    }
    tabulon.GetDocument().SetValuesPrompt(UndefinedAnswer);
    frame->findChild<QAction*>(QStringLiteral("ID_TYPE_INSURANCE"))->trigger();
    QApplication::processEvents();
    saved &= Save(charts->grab(), folder, "charts-window-not-defined.png");
    tabulon.GetDocument().SetValuesPrompt(TermLifeAnswer);
    frame->findChild<QAction*>(QStringLiteral("ID_TYPE_INSURANCE"))->trigger();
    QApplication::processEvents();
    saved &= Save(GrabPolicyDialog(PolicyKind::Insurance), folder, "insurance-dialog.png");
    saved &= Save(GrabPolicyDialog(PolicyKind::Pension), folder, "pension-dialog.png");
    saved &= Save(GrabProductDialog(TwoLegProduct()), folder, "product-dialog.png");
    // The dialogs again with a 14-point desktop font: they grow with it.
    const QFont normal = QApplication::font();
    QFont large = normal;
    large.setPointSize(14);
    QApplication::setFont(large);
    saved &= Save(GrabPolicyDialog(PolicyKind::Insurance), folder, "insurance-dialog-14pt.png");
    saved &= Save(GrabPolicyDialog(PolicyKind::Pension), folder, "pension-dialog-14pt.png");
    saved &= Save(GrabProductDialog(TwoLegProduct()), folder, "product-dialog-14pt.png");
    QApplication::setFont(normal);
    // The two-leg product accepted: the status bar's net premium and its Charts page.
    tabulon.GetDocument().SetProductPrompt(
        [](const ProductDialogValues&) { return std::optional(TwoLegProduct()); });
    frame->findChild<QAction*>(QStringLiteral("ID_TYPE_PRODUCT"))->trigger();
    QApplication::processEvents();
    saved &= Save(frame->grab(), folder, "main-window-product.png");
    saved &= Save(charts->grab(), folder, "charts-window-product.png");
    CAboutDialog about(frame);
    about.show();
    QApplication::processEvents();
    saved &= Save(about.grab(), folder, "about-box.png");
    return saved ? 0 : 1;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "DialogBase.h"

#include "InputField.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QSignalBlocker>

#include <charconv>

namespace {

CDialog::MessageHandler& CurrentMessageHandler() {
    static CDialog::MessageHandler handler;
    return handler;
}

// Base units as the classic dialog manager measures them: the average width of the 52
// letters, rounded, and the full line height of the font.
QSize MeasureBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26 + 1) / 2, metrics.height()};
}

// The text without the blanks and tabs a number may have around it.
QString TrimBlanks(QString text) {
    const auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (!text.isEmpty() && blank(text.back()))
        text.chop(1);
    while (!text.isEmpty() && blank(text.front()))
        text.remove(0, 1);
    return text;
}

int ScaleRounded(int value, int unit, int divisor) {
    return (value * unit + divisor / 2) / divisor;
}

} // namespace

QString FormatSingle(float value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    return QString::fromLatin1(text, static_cast<int>(result.ptr - text));
}

CDialog::CDialog(QWidget* parent, const QFont& font)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setFont(font);
    m_baseUnits = MeasureBaseUnits(this->font());
}

QFont CDialog::DefaultDialogFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                      QStringLiteral("Arial"), QStringLiteral("Helvetica")});
    font.setStyleHint(QFont::SansSerif);
    // The desktop's size, so that the dialogs grow with its font, but never below 9 points.
    if (font.pointSizeF() < 9)
        font.setPointSize(9);
    return font;
}

int CDialog::DoModal() {
    // Every run opens afresh, as a newly created window would.
    m_initialized = false;
    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::showEvent(QShowEvent* event) {
    if (!m_initialized) {
        m_initialized = true;
        if (OnInitDialog()) {
            for (QWidget* w = nextInFocusChain(); w != this; w = w->nextInFocusChain()) {
                if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(this)) {
                    w->setFocus(Qt::TabFocusReason);
                    break;
                }
            }
        }
    }
    QDialog::showEvent(event);
}

bool CDialog::UpdateData(bool saveAndValidate) {
    CDataExchange dx(saveAndValidate);
    DoDataExchange(dx);
    if (!dx.Failed())
        return true;
    ReportFailure(dx.FailedControl(), dx.FailureMessage());
    return false;
}

void CDialog::accept() {
    if (UpdateData(true))
        QDialog::accept();
}

void CDialog::ReportFailure(QWidget* control, const QString& message) {
    if (const MessageHandler& handler = CurrentMessageHandler())
        handler(this, message);
    else
        QMessageBox::warning(this, windowTitle(), message);
    control->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->selectAll();
}

void CDialog::SetMessageHandler(MessageHandler handler) {
    CurrentMessageHandler() = std::move(handler);
}

QRect CDialog::MapDialogRect(int x, int y, int width, int height) const {
    const int bx = m_baseUnits.width();
    const int by = m_baseUnits.height();
    return {ScaleRounded(x, bx, 4), ScaleRounded(y, by, 8), ScaleRounded(width, bx, 4),
            ScaleRounded(height, by, 8)};
}

void CDataExchange::Integer(QLineEdit* edit, const QString& field, int& value, int min, int max) {
    if (Failed())
        return;
    if (!m_bSaveAndValidate) {
        edit->setText(QString::number(value));
        return;
    }
    int parsed = 0;
    const bool read = ParseInteger(edit->text().toStdString(), parsed);
    if (read && parsed >= min && parsed <= max) {
        value = parsed;
        return;
    }
    if (!edit->isEnabled())
        return;
    const QString accepted = tr("a whole number from %1 to %2").arg(min).arg(max);
    Fail(edit, read ? tr("%1: %2 is out of range; please enter %3.")
                          .arg(field, QString::number(parsed), accepted)
                    : tr("%1: please enter %2.").arg(field, accepted));
}

void CDataExchange::Single(QLineEdit* edit, const QString& field, float& value, float min,
                           float max) {
    if (Failed())
        return;
    if (!m_bSaveAndValidate) {
        edit->setText(FormatSingle(value));
        return;
    }
    float parsed = 0;
    const bool read = ParseSingle(edit->text().toStdString(), parsed);
    if (read && parsed >= min && parsed <= max) {
        value = parsed;
        return;
    }
    if (!edit->isEnabled())
        return;
    const QString accepted =
        tr("a number from %1 to %2 (digits, an optional decimal point, no commas)")
            .arg(QString::number(static_cast<double>(min), 'f', 0),
                 QString::number(static_cast<double>(max), 'f', 0));
    Fail(edit, read ? tr("%1: %2 is out of range; please enter %3.")
                          .arg(field, TrimBlanks(edit->text()), accepted)
                    : tr("%1: please enter %2.").arg(field, accepted));
}

void CDataExchange::ListIndex(QListWidget* list, int& index) {
    if (Failed())
        return;
    if (!m_bSaveAndValidate) {
        const QSignalBlocker quiet(list);
        if (index >= 0 && index < list->count())
            list->setCurrentRow(index);
        else
            list->clearSelection();
        return;
    }
    const QModelIndexList rows = list->selectionModel()->selectedRows();
    index = rows.isEmpty() ? -1 : rows.first().row();
}

void CDataExchange::Fail(QWidget* control, const QString& message) {
    if (Failed())
        return;
    m_failedControl = control;
    m_message = message;
}

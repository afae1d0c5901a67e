// SPDX-License-Identifier: GPL-3.0-or-later
// A modal dialog laid out in dialog units, with data exchange and validation on OK.
#pragma once

#include <QCoreApplication>
#include <QDialog>
#include <QFont>
#include <QString>

#include <functional>

class QLineEdit;
class QListWidget;
class CDataExchange;

// How a modal dialog ended.
enum { IDOK = 1, IDCANCEL = 2 };

// The dialog base: controls are sized in dialog units (a quarter of the average character
// width of the dialog font across, an eighth of its height down) and created in tab order. Opening
// loads the members into the controls; OK reads and checks them in exchange order and closes only
// when every field passes. The first failure is reported, its control gets the focus with its
// text selected, and the dialog stays open.
class CDialog : public QDialog {
    Q_OBJECT
public:
    // font is the dialog font; the layout scales with it.
    explicit CDialog(QWidget* parent = nullptr, const QFont& font = DefaultDialogFont());

    // A sans-serif face with Arial's metrics where one is installed, close to the proportions
    // the layouts were drawn for, at the application font's size (at least 9 points).
    static QFont DefaultDialogFont();

    // Runs the dialog modally: IDOK after an accepted exchange, IDCANCEL otherwise.
    int DoModal();

    // Loads the members into the controls (false) or reads and checks them (true); the
    // saving direction reports its first failure and returns false.
    bool UpdateData(bool saveAndValidate);

    // Dialog units to pixels for this dialog's font, rounded to the nearest pixel.
    QRect MapDialogRect(int x, int y, int width, int height) const;

    // How a failed field is reported; the default shows a warning box over the dialog.
    // Tests install their own; an empty handler restores the default.
    using MessageHandler = std::function<void(CDialog* dialog, const QString& message)>;
    static void SetMessageHandler(MessageHandler handler);

    // OK: closes with IDOK only when the exchange passes.
    void accept() override;

protected:
    // Every exchanged field, in exchange order.
    virtual void DoDataExchange(CDataExchange& dx) = 0;
    // Called once before the dialog first shows; the base loads the members. Returning true
    // gives the focus to the first control with a tab stop.
    virtual bool OnInitDialog();
    void showEvent(QShowEvent* event) override;

private:
    void ReportFailure(QWidget* control, const QString& message);

    QSize m_baseUnits;
    bool m_initialized = false;
};

// One pass of data exchange. In the loading direction each call writes a member into its
// control; in the saving direction each call reads and checks its control, and after the
// first failure the remaining calls do nothing. A disabled field is not validated: the user
// cannot correct it, so it never fails, and its member takes the text's value only when that
// reads as one within range (otherwise the member keeps the value it was loaded with).
class CDataExchange {
    Q_DECLARE_TR_FUNCTIONS(CDataExchange)

public:
    explicit CDataExchange(bool saveAndValidate) : m_bSaveAndValidate(saveAndValidate) {}

    const bool m_bSaveAndValidate;

    // A whole number from min to max inclusive; field names it in the message.
    void Integer(QLineEdit* edit, const QString& field, int& value, int min, int max);
    // A number rounded to single precision, from min to max inclusive.
    void Single(QLineEdit* edit, const QString& field, float& value, float min, float max);
    // The zero-based selection of a single-selection list; -1 = none. Selecting an entry
    // while loading raises no selection-change notification.
    void ListIndex(QListWidget* list, int& index);

    // Stops the exchange with a message about control.
    void Fail(QWidget* control, const QString& message);
    bool Failed() const { return m_failedControl != nullptr; }
    QWidget* FailedControl() const { return m_failedControl; }
    const QString& FailureMessage() const { return m_message; }

private:
    QWidget* m_failedControl = nullptr;
    QString m_message;
};

// The text a single-precision value is shown in: the shortest decimal that reads back as
// the same float, without exponent (10000 shows as "10000").
QString FormatSingle(float value);

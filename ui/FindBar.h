// SPDX-License-Identifier: GPL-3.0-or-later
// The find bar under the journal view: the text to find, Next and Previous, and what the last
// search found.
#pragma once

#include <QWidget>

class CTabulonView;
class QLabel;
class QLineEdit;

// Enter finds the next match, Shift+Enter the previous one, Escape closes the bar and leaves
// the view without a highlighted match. Each search says plainly when the text is nowhere
// in the journal and when it went past the end (or the start) and went on from the other end.
class FindBar : public QWidget {
    Q_OBJECT
public:
    FindBar(CTabulonView& view, QWidget* parent = nullptr);

    // Shows the bar with its text selected, ready for a new one.
    void Open();
    // Finds the next (or previous) match of the bar's text; opens the bar when it has none.
    void FindNext(bool forward);
    void Close();

    QString GetText() const;
    QString GetStatus() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    CTabulonView& m_view;
    QLineEdit* m_text;
    QLabel* m_status;
};

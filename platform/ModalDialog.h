// A dialog that runs modally and tells how it ended.
#pragma once

enum { IDOK = 1, IDCANCEL = 2 };

class CModalDialog {
public:
    virtual ~CModalDialog() = default;
    // Runs the dialog; IDOK when the user accepted valid input, IDCANCEL otherwise.
    virtual int DoModal() = 0;
};

// SPDX-License-Identifier: GPL-3.0-or-later
// The life a product is written on: a mortality table and an age at issue.
#pragma once

struct Life {
    int tableId = 1;     // a TableRegistry id
    int issueAge = 0;    // completed years at issue, within the table's ages
    bool select = false; // selected at issueAge: valued on the table's select rates as [x]+t
};

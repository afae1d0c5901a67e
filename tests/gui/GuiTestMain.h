// SPDX-License-Identifier: GPL-3.0-or-later
// The main function of every GUI test. As in the program, the numeric locale goes back to
// "C" as soon as the application exists (Qt set it from the environment), so the tests see
// what the program does under a decimal-comma locale too.
#pragma once

#include <QApplication>
#include <QTest>

#include <clocale>

#define TABULON_GUI_TEST_MAIN(TestObject)                                                          \
    int main(int argc, char* argv[]) {                                                             \
        QTest::Internal::callInitMain<TestObject>();                                               \
        QApplication app(argc, argv);                                                              \
        std::setlocale(LC_NUMERIC, "C");                                                           \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }

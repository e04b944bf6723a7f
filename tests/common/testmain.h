#pragma once

#include "common/notifications.h"
#include "theme/apptheme.h"

#include <QApplication>
#include <QtTest>

// Like QTEST_MAIN, but with the program's embedded resources registered, as
// the real executable has them. Notifications delete themselves only once
// faded out, seconds after showing: those still up when the tests end would
// outlive the application, so they go first.
#define SONVEL_TEST_MAIN(TestClass)                                                                \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        AppTheme::registerResources();                                                             \
        QApplication app(argc, argv);                                                              \
        TestClass tc;                                                                              \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        const int failed = QTest::qExec(&tc, argc, argv);                                          \
        closeNotifications();                                                                      \
        return failed;                                                                             \
    }

#pragma once

#include "theme/apptheme.h"

#include <QApplication>
#include <QtTest>

// Like QTEST_MAIN, but with the program's embedded resources registered, as
// the real executable has them.
#define SONVEL_TEST_MAIN(TestClass)                                                                \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        AppTheme::registerResources();                                                             \
        QApplication app(argc, argv);                                                              \
        TestClass tc;                                                                              \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }

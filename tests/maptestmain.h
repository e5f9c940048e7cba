#pragma once

#include "view/googlemappage.h"

#include <QApplication>
#include <QtTest/QTest>

// QTEST_MAIN for programs that show the map: the web engine is prepared before the
// application object exists.
#define KV730_MAP_TEST_MAIN(TestObject)                                                          \
    int main(int argc, char* argv[])                                                             \
    {                                                                                            \
        GoogleMapPage::prepareApplication();                                                     \
        QApplication app(argc, argv);                                                            \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                 \
        TestObject tc;                                                                           \
        QTEST_SET_MAIN_SOURCE_PATH                                                               \
        return QTest::qExec(&tc, argc, argv);                                                    \
    }

// Shared entry point of the test programs. The environment is part of every
// test: a European time zone with daylight saving unless CTest set one, the
// locale from LANG/LC_ALL (CTest runs each program under ja_JP and C), and a
// private data folder so no test touches the user's real settings.
#include "TempDir.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <ctime>

int main(int argc, char** argv) {
    setenv("TZ", "Europe/Berlin", 0);
    tzset();
    std::setlocale(LC_ALL, "");
    QStandardPaths::setTestModeEnabled(true);
    static kelmtest::TempDir dataHome("xdg-data");
    setenv("XDG_DATA_HOME", dataHome.Native().c_str(), 1);
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

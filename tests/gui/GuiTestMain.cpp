// Runs the form tests inside a QApplication on Qt's offscreen platform: no display is needed.

#include "store/SealCost.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QApplication application(argc, argv);
    // Users sealed by the forms under test cost a test run nothing worth measuring.
    keystead::useCheapSealCostForTests();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#include "app/startup.h"
#include "platform/regional_settings.h"

#include <gtest/gtest.h>

// Tests of the application shell run inside the program's own application object, offscreen,
// with Russian regional settings pinned.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    vornak::TApplication app(argc, argv);
    vornak::RegionalSettings::setCurrent(vornak::RegionalSettings::russian());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

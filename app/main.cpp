#include "app/command_line.h"
#include "app/startup.h"
#include "platform/window_dialogs.h"

int main(int argc, char **argv)
{
    if (const auto status = vornak::answerCommandLine(argc, argv))
        return *status;
    vornak::useWindowDialogs();
    vornak::TApplication application(argc, argv);
    if (!application.startUp())
        return 1;
    return application.run();
}

#include "app/command_line.h"
#include "app/startup.h"

int main(int argc, char **argv)
{
    if (const auto status = vornak::answerCommandLine(argc, argv))
        return *status;
    vornak::TApplication application(argc, argv);
    if (!application.startUp())
        return 1;
    return application.run();
}

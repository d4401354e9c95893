#include "app/startup.h"

int main(int argc, char **argv)
{
    vornak::TApplication application(argc, argv);
    if (!application.startUp())
        return 1;
    return application.run();
}

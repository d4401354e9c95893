#include "app/command_line.h"

#include "platform/fonts.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

#include <cstdio>
#include <cstring>

namespace vornak {

namespace {

const char usage[] = "Usage: vornak [--help | --version]\n"
                     "\n"
                     "Мой ворнак: the log book of your vehicles (odometer readings, expenses, maintenance events\n"
                     "and the period report). It opens VORNAK.mdb in the working directory; the menu entry runs\n"
                     "vornak-start, which opens the log book in the user's data folder (~/.local/share/vornak) and\n"
                     "creates it on the first start. vornak-db works with the same file from the command line.\n"
                     "\n"
                     "  --help         show this text\n"
                     "  --version      show the version\n"
                     "  --error TEXT   show TEXT in a message box and end (used by vornak-start)\n";

int showError(int argc, char **argv, const char *text)
{
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("Мой ворнак"));
    registerFonts();
    QMessageBox::critical(nullptr, QApplication::applicationName(), QString::fromLocal8Bit(text));
    return 1;
}

}  // namespace

std::optional<int> answerCommandLine(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(usage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("vornak %s\n", VORNAK_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--error") == 0 && i + 1 < argc)
            return showError(argc, argv, argv[i + 1]);
    }
    return std::nullopt;
}

}  // namespace vornak

#include "platform/fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QString>

namespace vornak {

namespace {

constexpr const char *fontFolder = "/usr/share/wine/fonts/";
constexpr const char *fontFiles[] = {"tahoma.ttf", "tahomabd.ttf", "ms_sans_serif.ttf"};

}  // namespace

void registerFonts()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    for (const char *file : fontFiles)
        QFontDatabase::addApplicationFont(QString::fromLatin1(fontFolder) + QString::fromLatin1(file));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
}

QFont windowFont()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(13);
    return font;
}

}  // namespace vornak

#include "report/pages/pages_texts.h"

namespace vornak {

namespace {

struct TextEntry {
    PagesText id;
    const char16_t *text;
};

constexpr TextEntry kTexts[] = {
    {PagesText::UnknownClass, u"Неизвестный класс объекта отчета \"%1\""},
    {PagesText::UnknownAttribute, u"Неизвестный атрибут \"%1\" у объекта класса %2"},
    {PagesText::BadAttributeText, u"Ошибка в тексте атрибутов: \"%1\""},
    {PagesText::PageOutOfRange, u"Страницы с номером %1 нет в отчете (страниц: %2)"},
    {PagesText::UnknownSourcePage, u"Страница \"%1\" ссылается на неизвестную исходную страницу"},
};

}  // namespace

QString pagesText(PagesText id)
{
    for (const TextEntry &entry : kTexts)
        if (entry.id == id)
            return QString::fromUtf16(entry.text);
    return QString();
}

}  // namespace vornak

#include "report/script/report_text.h"

#include <QHash>

namespace vornak {

namespace {

struct TextRow {
    const char *key;
    const char *text;
};

// Grouped by where they are shown; every key once.
constexpr TextRow kTexts[] = {
    // The script language: compile and run errors.
    {"undeclaredIdentifier", "Неопределенный идентификатор: '%1'"},
    {"redeclaredIdentifier", "Идентификатор переопределен: '%1'"},
    {"unknownType", "Неизвестный тип: '%1'"},
    {"incompatibleTypes", "Несовместимые типы"},
    {"incompatibleTypesNamed", "Несовместимые типы: '%1', '%2'"},
    {"classExpected", "Ожидается класс"},
    {"indexExpected", "Ожидается индекс"},
    {"arrayExpected", "Ожидается массив"},
    {"variableExpected", "Ожидается переменная"},
    {"constantExpected", "Ожидается константа"},
    {"stringHasNoMembers", "Строка не имеет свойств или методов"},
    {"noDefaultProperty", "Класс %1 не содержит свойства по умолчанию"},
    {"notEnoughParameters", "Недостаточно параметров"},
    {"tooManyParameters", "Слишком много параметров"},
    {"notAssignable", "Левая часть выражения не может быть присвоена"},
    {"forVariableNotNumeric", "Переменная цикла FOR должна быть числовой"},
    {"handlerMustBeProcedure", "Обработчик события должен быть процедурой"},
    {"badLanguageDefinition", "Ошибка в описании языка"},
    {"badFunctionDeclaration", "Ошибка в описании функции: %1"},
    {"languageNotFound", "Язык '%1' не найден"},
    {"parentScriptCycle", "Родительский скрипт образует цикл"},
    {"indexOutOfRange", "Индекс вне диапазона: %1"},
    {"recursionTooDeep", "Слишком глубокая рекурсия"},
    {"nestingTooDeep", "Слишком глубокая вложенность"},

    // The report object model and its template.
    {"nameInUse", "Имя \"%1\" уже используется другим объектом отчета"},
    {"badValue", "Недопустимое значение \"%1\""},
    {"readOnlyProperty", "Свойство %1 только для чтения"},
    {"badUserName", "Неверное значение свойства UserName"},
    {"scriptError", "Ошибка в скрипте %1: %2"},
    {"dataSetNotFound", "Набор данных \"%1\" не найден"},
    {"dataSetNotInReport", "(компонент не включен в Report.DataSets)"},
    {"noExpressionCache", "Вычисление выражений недоступно: '%1'"},
    {"templateLine", "Шаблон отчета, строка %1: %2"},
    {"templateNoReport", "нет описания отчета"},
    {"templateReportExpected", "ожидается TfrxReport, найдено %1"},
    {"templateExtraElement", "лишний элемент %1"},
    {"templateNoProperty", "у объекта %1 нет свойства %2"},
    {"templateUnknownClass", "неизвестный класс %1"},
    {"templateMisplaced", "объект класса %1 не может находиться в %2"},
    {"templateItemExpected", "ожидается item, найдено %1"},
    {"templateNoItemProperty", "у элемента %1 нет свойства %2"},
    {"templateNotFound", "Шаблон отчета не найден"},

    // Report data sources.
    {"fieldNotFound", "Поле не найдено: %1.\"%2\""},
    {"dataSourceNotConnected", "Компонент %1 не подключен к данным"},

    // Text expressions.
    {"expressionError", "Ошибка в выражении '%1': %2"},
    {"unknownVariable", "Неизвестная переменная или поле БД: %1"},

    // The prepared pages store.
    {"unknownObjectClass", "Неизвестный класс объекта отчета \"%1\""},
    {"unknownObjectAttribute", "Неизвестный атрибут \"%1\" у объекта класса %2"},
    {"badAttributeText", "Ошибка в тексте атрибутов: \"%1\""},
    {"pageOutOfRange", "Страницы с номером %1 нет в отчете (страниц: %2)"},
    {"unknownSourcePage", "Страница \"%1\" ссылается на неизвестную исходную страницу"},
    // The band engine and the report's preparation.
    {"preparationErrors", "Были обнаружены следующие ошибки:"},
    {"errorCaption", "Ошибка"},
    {"noGroupDataBand", "Нет дата-бэнда для группы %1"},
    {"noGroupHeader", "Нет заголовка группы %1"},
    {"unlinkedHeaderFooter", "Не подключенный header/footer %1"},
    {"misplacedBand", "Неправильно расположен бэнд: %1"},
    {"sameDataSetReportPage", "Cannot use the same dataset for Report.DataSet and Page.DataSet"},
    {"sameDataSetReportBand", "Cannot use the same dataset for Report.DataSet and Band.DataSet"},
    {"sameDataSetPageBand", "Cannot use the same dataset for Page.DataSet and Band.DataSet"},
    {"noEngine", "Отчет не может быть построен: нет движка отчета"},
    {"noExpressions", "Отчет не может быть построен: нет вычислителя выражений"},
    {"noPreviewPages", "Отчет не может быть построен: нет хранилища страниц"},
    {"noTextLayout", "Отчет не может быть построен: нет разметки текста"},
    {"noPagesStore", "Отчет не может быть построен: нет хранилища подготовленных страниц"},
    {"bandTooHigh", "Бэнд %1 выше страницы и не может быть размещен"},
    {"unsupportedGroups", "Группы не поддерживаются (бэнд %1)"},
    {"unsupportedKeeping", "Удержание бэндов вместе не поддерживается (бэнд %1)"},
    {"unsupportedColumns", "Колонки не поддерживаются (%1)"},
    {"unsupportedVertical", "Вертикальные бэнды не поддерживаются (бэнд %1)"},
    {"unsupportedSplit", "Разбивка бэнда по страницам не поддерживается (бэнд %1)"},
    {"unsupportedOverlay", "Бэнд-подложка не поддерживается (бэнд %1)"},
    {"unsupportedPageOption", "Свойство страницы %1 не поддерживается: %2"},
    {"unsupportedDoublePass", "Двойной проход не поддерживается"},
    // Printing.
    {"noPrinters", "В вашей системе не установлено принтеров"},
    {"virtualPrinter", "Виртуальный"},
    {"invalidPrinter", "Printer selected is not valid"},
    {"customPaper", "Пользовательский"},
    {"defaultBin", "По умолчанию"},
    {"printingPage", "Печатается страница %1"},
    {"noPagesInList", "В отчете нет страниц с номерами \"%1\""},
    {"printFileNotWritten", "Не удалось записать файл печати \"%1\""},
    {"fileIsDatabase",
     "Файл \"%1\" - это база данных программы. Запись в него уничтожит данные; выберите другой файл."},
    {"printNotStarted", "Не удалось начать печать на принтере \"%1\""},
    {"badPageList", "Неверно указаны номера страниц: \"%1\". Введите номера и/или диапазоны страниц, разделенные "
                    "запятыми. Например, 1,3,5-12"},
    {"cancel", "Отмена"},
    // The print dialog.
    {"printDialogCaption", "Печать"},
    {"printerGroup", "Принтер"},
    {"printerName", "Имя:"},
    {"printerWhere", "Где:"},
    {"printerProperties", "Свойства..."},
    {"printToFile", "Печать в файл"},
    {"printFileFilter", "Файл печати (*.prn)"},
    {"pagesGroup", "Страницы"},
    {"allPages", "Все"},
    {"currentPage", "Текущая"},
    {"pageNumbers", "Номера:"},
    {"pageNumbersHint", "Введите номера и/или диапазоны страниц, разделенные запятыми. Например, 1,3,5-12"},
    {"copiesGroup", "Копии"},
    {"copiesCount", "Количество"},
    {"collate", "Разобрать по копиям"},
    {"otherGroup", "Прочее"},
    {"printWhich", "Печатать"},
    {"printAllPages", "Все страницы"},
    {"printOddPages", "Нечетные страницы"},
    {"printEvenPages", "Четные страницы"},
    {"printOrder", "Порядок"},
    {"orderDirect", "Прямой (1-9)"},
    {"orderReverse", "Обратный (9-1)"},
    {"duplex", "Дуплекс"},
    {"duplexDefault", "По умолчанию"},
    {"duplexVertical", "Вертикальный"},
    {"duplexHorizontal", "Горизонтальный"},
    {"duplexSimplex", "Не использовать"},
    {"printModeGroup", "Режим печати"},
    {"modeDefault", "По умолчанию"},
    {"modeSplit", "Разрезать большие страницы"},
    {"modeJoin", "Объединять маленькие страницы"},
    {"modeScale", "Масштабировать"},
    {"printOnSheet", "Печатать на листе"},
    {"sheetDefault", "По умолчанию"},
    {"ok", "ОК"},
};

const QHash<QByteArray, QString> &table()
{
    static const QHash<QByteArray, QString> texts = [] {
        QHash<QByteArray, QString> t;
        for (const TextRow &row : kTexts)
            t.insert(QByteArray(row.key), QString::fromUtf8(row.text));
        return t;
    }();
    return texts;
}

}  // namespace

QString reportText(const char *key)
{
    const auto at = table().constFind(QByteArray(key));
    return at == table().constEnd() ? QString::fromLatin1(key) : *at;
}

}  // namespace vornak

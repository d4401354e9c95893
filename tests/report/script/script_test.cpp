#include "report/script/report_text.h"
#include "report/script/script.h"
#include "report/script/script_grammar.h"
#include "report/script/script_object.h"
#include "report/script/variant_ops.h"

#include "platform/errors.h"

#include <gtest/gtest.h>
#include <QFile>

using namespace vornak;

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

QString expressionFunction(int number, const QString &expression)
{
    return QStringLiteral("function fr3f%1: Variant; begin Result := %2 end; begin end.").arg(number).arg(expression);
}

// "line:column message" of a failed compile, or "ok".
QString compileResult(const QStringList &lines)
{
    TfsScript script;
    script.SetLines(lines);
    return script.Compile() ? QStringLiteral("ok") : script.ErrorPos() + u' ' + script.ErrorMsg();
}

// A report script and an expression script below it, as the report uses them.
struct Scripts {
    TfsScript report;
    TfsScript expressions{&report};
    int next = 0;

    Variant calc(const QString &expression)
    {
        expressions.SetText(expressionFunction(next, expression));
        if (!expressions.Compile())
            throw EngineError(expressions.ErrorPos() + u' ' + expressions.ErrorMsg());
        return expressions.CallFunction(QStringLiteral("fr3f%1").arg(next++));
    }
};

// A text object with a font, as the report's objects appear to scripts.
class FakeFont : public ScriptObject {
public:
    QString scriptClassName() const override { return QStringLiteral("TFont"); }
    int findScriptProperty(const QString &name) const override
    {
        return name.compare(u"Size", Qt::CaseInsensitive) == 0 ? 0 : -1;
    }
    Variant scriptProperty(int) const override { return size; }
    void setScriptProperty(int, const Variant &value) override { size = value; }
    Variant size = Variant(8);
};

class FakeMemo : public ScriptObject {
public:
    QString scriptClassName() const override { return QStringLiteral("TfrxMemoView"); }
    bool inheritsScriptClass(const QString &name) const override
    {
        return ScriptObject::inheritsScriptClass(name) || name.compare(u"TfrxView", Qt::CaseInsensitive) == 0;
    }
    int findScriptProperty(const QString &name) const override
    {
        if (name.compare(u"Text", Qt::CaseInsensitive) == 0)
            return 0;
        return name.compare(u"Font", Qt::CaseInsensitive) == 0 ? 1 : -1;
    }
    Variant scriptProperty(int) const override { return text; }
    void setScriptProperty(int, const Variant &value) override { text = value.toString(); }
    ScriptObject *scriptObjectProperty(int index) const override { return index == 1 ? &font : nullptr; }
    int findScriptMethod(const QString &name) const override
    {
        return name.compare(u"Twice", Qt::CaseInsensitive) == 0 ? 0 : -1;
    }
    Variant callScriptMethod(int, const QList<Variant> &arguments) override
    {
        return Variant(arguments.value(0).toInt() * 2);
    }
    QString text;
    mutable FakeFont font;
};

}  // namespace

TEST(Script, PeriodScriptRunsOnceAndItsVariableIsSeenByExpressions)
{
    Scripts scripts;
    scripts.report.SetLines({"var", "str: string;", "begin", "STR := 'Период: 01.01.2024 - 31.01.2024';", "end."});
    ASSERT_TRUE(scripts.report.Compile()) << scripts.report.ErrorMsg().toStdString();
    EXPECT_EQ(scripts.report.StatementCount(), 1);
    EXPECT_EQ(scripts.report.FindLocal(QStringLiteral("str"))->kind(), ScriptItem::Kind::Variable);
    scripts.report.Execute();

    EXPECT_EQ(scripts.calc(QStringLiteral("str")).toString(), QStringLiteral("Период: 01.01.2024 - 31.01.2024"));
    EXPECT_EQ(scripts.calc(QStringLiteral("Str + '!'")).toString(), QStringLiteral("Период: 01.01.2024 - 31.01.2024!"));
    // Each expression stays callable after later ones were compiled into the same script.
    EXPECT_EQ(scripts.expressions.CallFunction(QStringLiteral("FR3F0")).toString(),
              QStringLiteral("Период: 01.01.2024 - 31.01.2024"));
}

TEST(Script, DefaultScriptHasNoStatements)
{
    TfsScript script;
    script.SetLines({"begin", "", "end."});
    ASSERT_TRUE(script.Compile());
    EXPECT_EQ(script.StatementCount(), 0);
}

TEST(Script, StringLiterals)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("'a''b'"), QStringLiteral("a'b")},
        {QStringLiteral("'a'#13#10'b'"), QStringLiteral("a\r\nb")},
        {QStringLiteral("#$41'b'#66"), QStringLiteral("AbB")},
        {QStringLiteral("''"), QString()},
        {QStringLiteral("'{not a comment}' // but this is"), QStringLiteral("{not a comment}")},
    };
    for (const auto &[literal, value] : cases) {
        TfsScript script;
        script.SetLines({"var s: String;", "begin", "  s := " + literal + ";", "end."});
        ASSERT_TRUE(script.Run()) << literal.toStdString() << ": " << script.ErrorMsg().toStdString();
        auto *s = static_cast<ScriptVariable *>(script.Find(QStringLiteral("S")));
        EXPECT_EQ(s->value().toString(), value) << literal.toStdString();
    }
}

TEST(Script, CompileErrorsGiveTextAndPosition)
{
    const std::pair<QStringList, QString> cases[] = {
        {{"var", "str: string;", "begin", "str := 'x'", "end"}, "5:4 '.' expected"},
        {{"str := 'x';", "end."}, "1:1 'BEGIN' expected"},
        {{"var", "str: strng;", "begin", "end."}, "2:6 Неизвестный тип: 'strng'"},
        {{"var", "str: string;", "STR: Integer;", "begin", "end."}, "3:1 Идентификатор переопределен: 'STR'"},
        {{"begin", "  x := 1;", "end."}, "2:3 Неопределенный идентификатор: 'x'"},
        // A quote inside the caption ends the literal early.
        {{"var", "str: string;", "begin", "str := 'It's';", "end."}, "4:12 ';' expected"},
        {{"var i: Integer;", "begin", "  i := 'x';", "end."}, "3:8 Несовместимые типы: 'Integer', 'String'"},
        {{"var i: Integer;", "begin", "  i := 1 + ;", "end."}, "3:12 Expression expected"},
        {{"var i: Integer;", "begin", "  i := (1 + 2;", "end."}, "3:14 ')' expected"},
        {{"var i: Integer", "begin", "end."}, "2:1 ';' expected"},
        {{"var i: Integer;", "begin", "  i : 1;", "end."}, "3:7 '=' expected"},
        {{"begin", "  if 1 = 1 do;", "end."}, "2:12 'THEN' expected"},
        {{"begin", "  IntToStr(1, 2);", "end."}, "2:15 Слишком много параметров"},
        {{"begin", "  Copy('abc');", "end."}, "2:7 Недостаточно параметров"},
        {{"var s: String;", "begin", "  for s := 1 to 2 do;", "end."}, "3:7 Переменная цикла FOR должна быть числовой"},
        {{"const C = 1;", "begin", "  C := 2;", "end."}, "3:3 Левая часть выражения не может быть присвоена"},
        {{"var s: String;", "begin", "  s := s.Length;", "end."}, "3:10 Строка не имеет свойств или методов"},
        {{"begin", "end.", "anything after the full stop is not read ("}, "ok"},
        {{"{ block", "comment } (* another", "one *) // line", "begin end."}, "ok"},
        // A "var" with no variable list: the failed first round of the declarations ends them.
        {{"var", "begin end."}, "1:1 'BEGIN' expected"},
        // ".." after a name ends the designator without an error.
        {{"var a, b: Integer;", "begin if a in [a..b] then a := b end."}, "ok"},
        {{"var a: array of Integer; b: ARRAY of String;", "begin b := a end."}, "ok"},
        {{"var a: array Integer;", "begin end."}, "1:14 'OF' expected"},
        {{"var a: array of Intgr;", "begin end."}, "1:17 Неизвестный тип: 'Intgr'"},
        {{"var a: array of Integer; i: Integer;", "begin i := a end."}, "2:12 Несовместимые типы: 'Integer', 'Array'"},
        {{"var i: Integer;", "begin i := i[1] end."}, "2:13 Ожидается массив"},
        {{"var Сумма: Integer;", "begin Сумма := $1F + 1.5e1 end."}, "ok"},
        {{"var i: Integer = 2 * 3; s: String = IntToStr(7) + 'x';", "begin end."}, "ok"},
        // Initial values are computed while compiling: a script function might never return.
        {{"function Forever: Integer; begin while True do; end;", "var i: Integer = Forever;", "begin end."},
         "2:18 Ожидается константа"},
    };
    for (const auto &[lines, expected] : cases)
        EXPECT_EQ(compileResult(lines), expected) << lines.join(u'|').toStdString();
}

TEST(Script, UnknownLanguageAndLanguageLine)
{
    TfsScript script;
    script.SetSyntaxType(QStringLiteral("C++Script"));
    script.SetLines({"begin end."});
    EXPECT_FALSE(script.Compile());
    EXPECT_EQ(script.ErrorMsg(), QStringLiteral("Язык 'C++Script' не найден"));

    script.SetLines({"#language PascalScript", "begin end."});
    EXPECT_TRUE(script.Compile()) << script.ErrorMsg().toStdString();
    script.SetLines({"#LANGUAGE Pascal", "begin end."});
    EXPECT_FALSE(script.Compile());
    EXPECT_EQ(script.ErrorMsg(), QStringLiteral("Язык 'Pascal' не найден"));

    const QString brokenGrammars[] = {
        QStringLiteral("<language text=\"Broken\"><program><nosuchrule/></program></language>"),
        QStringLiteral("<language text=\"Broken\"><program><char text=\".\" err=\"err99\"/></program></language>"),
        QStringLiteral("<language text=\"Broken\"><program>"),
    };
    for (const QString &grammar : brokenGrammars) {
        QString error;
        EXPECT_FALSE(script::registerLanguage(grammar, &error));
        EXPECT_EQ(error, QStringLiteral("Ошибка в описании языка"));
    }
}

TEST(Script, KeywordDataSourceReachableOnlyThroughDataReference)
{
    Scripts scripts;
    QStringList asked;
    scripts.report.AddMethod(QStringLiteral("function Get(Name: String): Variant"),
                             [&](const QString &name, const QList<Variant> &arguments) {
                                 EXPECT_EQ(name, QStringLiteral("Get"));
                                 asked.append(arguments.value(0).toString());
                                 return Variant(1500);
                             });
    EXPECT_EQ(scripts.calc(QStringLiteral("<Begin.\"km1\">")).toInt(), 1500);
    EXPECT_EQ(scripts.calc(QStringLiteral("<Source1.\"s2\"> * 2 + 7")).toInt(), 3007);
    // Brackets and quotes inside the reference belong to it.
    EXPECT_EQ(scripts.calc(QStringLiteral("<Ende.\"a>[b]\">")).toInt(), 1500);
    EXPECT_EQ(asked, (QStringList{"Begin.\"km1\"", "Source1.\"s2\"", "Ende.\"a>[b]\""}));

    scripts.expressions.SetText(expressionFunction(9, QStringLiteral("Begin.\"km1\"")));
    EXPECT_FALSE(scripts.expressions.Compile());
    EXPECT_EQ(scripts.expressions.ErrorMsg(), QStringLiteral("Expression expected"));
    scripts.expressions.SetText(expressionFunction(9, QStringLiteral("<Source1.\"s2\"")));
    EXPECT_FALSE(scripts.expressions.Compile());
    EXPECT_EQ(scripts.expressions.ErrorMsg(), QStringLiteral("'>' expected"));
}

TEST(Script, DataReferenceWithoutGetIsAnUndeclaredName)
{
    TfsScript script;
    script.SetText(expressionFunction(0, QStringLiteral("<Source1.\"s2\">")));
    EXPECT_FALSE(script.Compile());
    EXPECT_EQ(script.ErrorMsg(), QStringLiteral("Неопределенный идентификатор: 'Get'"));
}

TEST(Script, MacroFunctionsReceiveArgumentTexts)
{
    Scripts scripts;
    QList<Variant> received;
    scripts.report.AddMethod(QStringLiteral("function Get(Name: String): Variant"),
                             [](const QString &, const QList<Variant> &) { return Variant(2.5); });
    scripts.report.AddMethod(
        QStringLiteral("macrofunction SUM(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant"),
        [&](const QString &name, const QList<Variant> &arguments) {
            EXPECT_EQ(name, QStringLiteral("SUM"));
            received = arguments;
            return Variant(12.5);
        });
    scripts.report.AddVariable(QStringLiteral("Value"), QStringLiteral("Variant"))->setValue(Variant(42));

    EXPECT_EQ(scripts.calc(QStringLiteral("SUM(<Source1.\"s2\">,MasterData1)")).toDouble(), 12.5);
    EXPECT_EQ(received, (QList<Variant>{Variant(QStringLiteral("<Source1.\"s2\">")),
                                        Variant(QStringLiteral("MasterData1")), Variant(QString())}));
    EXPECT_EQ(scripts.calc(QStringLiteral("sum( 1 + (2 * x) , A.B )")).toDouble(), 12.5);
    EXPECT_EQ(received.value(0).toString(), QStringLiteral("1 + (2 * x)"));
    EXPECT_EQ(received.value(1).toString(), QStringLiteral("A.B"));
    EXPECT_EQ(scripts.calc(QStringLiteral("Value + 1")).toInt(), 43);
}

TEST(Script, ArrayVariablesStartEmpty)
{
    TfsScript script;
    script.SetLines({"var a: array of Integer; v: Variant;", "begin v := a[1] end."});
    ASSERT_TRUE(script.Compile()) << script.ErrorPos().toStdString() << ' ' << script.ErrorMsg().toStdString();
    const auto *array = static_cast<ScriptVariable *>(script.Find(QStringLiteral("A")));
    EXPECT_EQ(array->type().kind, TfsVarType::fvtArray);
    EXPECT_TRUE(array->value().isNull());
    EXPECT_THROW(script.Execute(), EngineError);  // it has no elements
}

TEST(Script, FunctionsProceduresAndStatements)
{
    TfsScript script;
    script.SetLines({
        "var log: String; total: Integer;",
        "function Fact(n: Integer): Integer;",
        "begin",
        "  if n <= 1 then Result := 1 else Result := n * Fact(n - 1)",
        "end;",
        "procedure Add(var Sum: Integer; Amount: Integer = 10);",
        "begin Sum := Sum + Amount end;",
        "function Classify(i: Integer): String;",
        "begin",
        "  case i of",
        "    1, 3..4: Classify := 'a';",
        "    2: begin Result := 'b'; exit; Result := 'x' end;",
        "  else Result := '-' end",
        "end;",
        "var i: Integer;",
        "begin",
        "  for i := 1 to 5 do log := log + Classify(i);",
        "  i := 0;",
        "  while True do begin i := i + 1; if i = 3 then continue; if i > 5 then break; Add(total, i) end;",
        "  repeat Add(total) until total > 100;",
        "  try total := total div 0 except log := log + '!' end;",
        "  try log := log + '?' finally log := log + '.' end;",
        "  if (i in [6, 8]) and not (i = 7) then log := log + IntToStr(Fact(5));",
        "end.",
    });
    ASSERT_TRUE(script.Run()) << script.ErrorPos().toStdString() << ' ' << script.ErrorMsg().toStdString();
    auto value = [&](const char *name) {
        return static_cast<ScriptVariable *>(script.Find(QString::fromLatin1(name)))->value();
    };
    EXPECT_EQ(value("log").toString(), QStringLiteral("abaa-!?.120"));
    EXPECT_EQ(value("total").toInt(), 102);  // 1+2+4+5 = 12, then tens up to 102
    EXPECT_EQ(script.CallFunction(QStringLiteral("fact"), {Variant(10)}).toInt(), 3628800);

    ScriptProcedure *fact = script.FindProcedure(QStringLiteral("Fact"));
    ASSERT_NE(fact, nullptr);
    EXPECT_EQ(fact->Call({Variant(3)}).toInt(), 6);
    EXPECT_THROW(fact->Call({}), EngineError);
}

TEST(Script, EventHandlersAreProcedures)
{
    TfsScript script;
    script.SetLines({"procedure Memo1OnBeforePrint(Sender: Variant); begin end;",
                     "function Memo1OnAfterData(Sender: Variant): Integer; begin Result := 1 end;", "begin end."});
    ASSERT_TRUE(script.Compile()) << script.ErrorMsg().toStdString();
    EXPECT_EQ(script.EventHandler(QString()), nullptr);
    EXPECT_EQ(script.EventHandler(QStringLiteral("memo1onbeforeprint")),
              script.FindProcedure(QStringLiteral("Memo1OnBeforePrint")));
    const std::pair<QString, QString> errors[] = {
        {QStringLiteral("Memo1OnAfterData"), QStringLiteral("Обработчик события должен быть процедурой")},
        {QStringLiteral("Memo1OnAfterPrint"), QStringLiteral("Неопределенный идентификатор: 'Memo1OnAfterPrint'")},
    };
    for (const auto &[name, message] : errors) {
        try {
            script.EventHandler(name);
            ADD_FAILURE() << "no error for " << name.toStdString();
        } catch (const EngineError &error) {
            EXPECT_EQ(error.message(), message);
        }
    }
}

TEST(Script, RuntimeErrorsRaiseEngineError)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("v := 1 / 0"), divisionByZeroMessage()},
        {QStringLiteral("v := 7 mod 0"), divisionByZeroMessage()},
        {QStringLiteral("v := 'abc' * 2"), QString()},
        {QStringLiteral("v := Endless(1)"), QStringLiteral("Слишком глубокая рекурсия")},
    };
    for (const auto &[statement, message] : cases) {
        TfsScript script;
        script.SetLines({"var v: Variant;",
                         "function Endless(n: Integer): Integer; begin Result := Endless(n + 1) end;", "begin",
                         statement, "end."});
        ASSERT_TRUE(script.Compile()) << script.ErrorMsg().toStdString();
        try {
            script.Execute();
            ADD_FAILURE() << "no error for " << statement.toStdString();
        } catch (const EngineError &error) {
            if (!message.isEmpty()) {
                EXPECT_EQ(error.message(), message);
            }
        }
        EXPECT_FALSE(script.IsRunning());
    }
}

TEST(Script, NestingIsBounded)
{
    const QString deepExpression = QString(100000, u'(') + u'1' + QString(100000, u')');
    const QStringList sources[] = {
        {"var v: Variant;", "begin v := " + deepExpression + " end."},
        {QString(50000, u'-') + u'1'},
        {QStringLiteral("begin ").repeated(100000) + QStringLiteral("end ").repeated(100000) + u'.'},
        {"begin if 1 = 1 then " + QStringLiteral("if 1 = 1 then ").repeated(100000) + "; end."},
    };
    for (const QStringList &lines : sources) {
        TfsScript script;
        script.SetLines(lines);
        EXPECT_FALSE(script.Compile());
        EXPECT_FALSE(script.ErrorMsg().isEmpty());
    }
    TfsScript script;
    script.SetLines({"var v: Variant;", "begin v := " + deepExpression + " end."});
    script.Compile();
    EXPECT_EQ(script.ErrorMsg(), QStringLiteral("Слишком глубокая вложенность"));
    EXPECT_EQ(script.ErrorPos().section(u':', 0, 0), QStringLiteral("2"));

    // Moderate nesting is fine.
    script.SetLines({"var v: Variant;", "begin v := " + QString(60, u'(') + u'1' + QString(60, u')') + " end."});
    EXPECT_TRUE(script.Compile()) << script.ErrorMsg().toStdString();
}

TEST(Script, ObjectsPropertiesAndMethods)
{
    FakeMemo memo;
    TfsScript script;
    script.AddObject(QStringLiteral("Memo14"), &memo);
    script.AddClass(QStringLiteral("TfrxView"));
    ScriptVariable *self = script.AddVariable(QStringLiteral("Self"), QStringLiteral("TfrxView"));
    self->setObject(&memo);
    script.SetLines({"var n: Variant;", "begin", "  memo14.Text := 'x' + IntToStr(Memo14.Twice(21));",
                     "  Memo14.Font.Size := Memo14.Font.Size + 2;", "  Self.Text := Self.Text + '!';",
                     "  if Self is TfrxView then n := 1;", "  Self := nil;",
                     "  if not (Self is TfrxView) then Self := Memo14;", "end."});
    ASSERT_TRUE(script.Run()) << script.ErrorPos().toStdString() << ' ' << script.ErrorMsg().toStdString();
    EXPECT_EQ(memo.text, QStringLiteral("x42!"));
    EXPECT_EQ(memo.font.size.toInt(), 10);
    EXPECT_EQ(static_cast<ScriptVariable *>(script.Find(QStringLiteral("n")))->value().toInt(), 1);
    EXPECT_EQ(self->object(), &memo);

    const std::pair<QString, QString> errors[] = {
        {"begin Memo14.Colour := 1 end.", "1:14 Неопределенный идентификатор: 'Colour'"},
        {"begin Memo14[1] := 1 end.", "1:13 Класс TfrxMemoView не содержит свойства по умолчанию"},
        {"begin n := Self[0] end.", "1:16 Класс TfrxView не содержит свойства по умолчанию"},
    };
    for (const auto &[line, expected] : errors) {
        script.SetLines({line});
        EXPECT_FALSE(script.Compile());
        EXPECT_EQ(script.ErrorPos() + u' ' + script.ErrorMsg(), expected) << line.toStdString();
    }
}

// An object's name, "Self" and a Variant holding an object all give the object as a value, and
// the value reaches the object's members; a freed object's value designates nothing.
TEST(Script, ObjectsAreCarriedAsValues)
{
    FakeMemo memo;
    Scripts scripts;
    scripts.report.AddObject(QStringLiteral("Memo14"), &memo);
    EXPECT_EQ(scriptObjectOf(scripts.calc(QStringLiteral("Memo14"))), &memo);
    EXPECT_EQ(scriptObjectOf(scriptItemValue(*scripts.report.Find(QStringLiteral("memo14")))), &memo);
    EXPECT_EQ(scriptObjectOf(scripts.calc(QStringLiteral("Memo14"))), &memo);  // the same value again

    scripts.report.SetLines({"var v: Variant;", "begin v := Memo14; v.Text := 'via value' end."});
    ASSERT_TRUE(scripts.report.Run()) << scripts.report.ErrorPos().toStdString() << ' '
                                      << scripts.report.ErrorMsg().toStdString();
    EXPECT_EQ(memo.text, QStringLiteral("via value"));
    EXPECT_EQ(scriptObjectOf(static_cast<ScriptVariable *>(scripts.report.Find(QStringLiteral("v")))->value()), &memo);

    Variant dangling;
    {
        FakeMemo temporary;
        dangling = scriptObjectValue(&temporary);
        EXPECT_EQ(scriptObjectOf(dangling), &temporary);
    }
    EXPECT_EQ(scriptObjectOf(dangling), nullptr);
    EXPECT_EQ(scriptObjectOf(Variant(qint64(42))), nullptr);
    EXPECT_EQ(scriptObjectOf(Variant()), nullptr);
    EXPECT_TRUE(scriptObjectValue(nullptr).isNull());
}

// Clear keeps what the owner registered when it created the script; the rest goes.
TEST(Script, ClearKeepsTheRegisteredItems)
{
    TfsScript script;
    script.AddConst(QStringLiteral("fr1cm"), QStringLiteral("Extended"), Variant(37.7953));
    script.KeepRegisteredItems();
    script.AddVariable(QStringLiteral("Later"), QStringLiteral("Integer"));
    script.SetLines({"var x: Extended;", "begin x := fr1cm end."});
    ASSERT_TRUE(script.Run());
    script.Clear();
    EXPECT_NE(script.Find(QStringLiteral("FR1CM")), nullptr);
    EXPECT_EQ(script.Find(QStringLiteral("Later")), nullptr);
    EXPECT_EQ(script.Find(QStringLiteral("x")), nullptr);
    EXPECT_EQ(script.StatementCount(), 0);
    EXPECT_NE(script.Find(QStringLiteral("IntToStr")), nullptr);
    ASSERT_TRUE(script.Run());
}

// The main program computes the initial values of its variables once, while compiling; any
// other script computes them each time its main block runs.
TEST(Script, MainProgramFlagDecidesWhenInitialValuesAreComputed)
{
    for (const bool mainProg : {true, false}) {
        int calls = 0;
        TfsScript script;
        script.AddMethod(QStringLiteral("function Next: Integer"),
                         [&](const QString &, const QList<Variant> &) { return Variant(++calls); });
        script.SetMainProg(mainProg);
        script.SetLines({"var a: Integer = Next;", "begin end."});
        ASSERT_TRUE(script.Compile()) << script.ErrorMsg().toStdString();
        EXPECT_EQ(calls, mainProg ? 1 : 0);
        script.Execute();
        script.Execute();
        EXPECT_EQ(calls, mainProg ? 1 : 2);
        EXPECT_EQ(static_cast<ScriptVariable *>(script.Find(QStringLiteral("a")))->value().toInt(), calls);
        EXPECT_EQ(script.StatementCount(), 0);
    }
}

TEST(Script, ItemsAddedByAnAdderAreRemovedTogether)
{
    TfsScript script;
    int report = 0;
    script.AddVariable(QStringLiteral("Kept"), QStringLiteral("Integer"), Variant(1));
    script.SetAdder(&report);
    script.SetLines({"var str: string;", "begin str := 'a' end."});
    ASSERT_TRUE(script.Compile());
    script.SetAdder(nullptr);
    // The next preparation compiles the script again: its items from before must go first.
    EXPECT_FALSE(script.Compile());
    EXPECT_EQ(script.ErrorMsg(), QStringLiteral("Идентификатор переопределен: 'str'"));
    script.ClearItems(&report);
    EXPECT_EQ(script.Find(QStringLiteral("str")), nullptr);
    EXPECT_NE(script.Find(QStringLiteral("kept")), nullptr);
    EXPECT_TRUE(script.Compile());

    // A failed compile leaves none of its declarations behind.
    script.Clear();
    script.SetLines({"var a: Integer;", "begin b := 1 end."});
    EXPECT_FALSE(script.Compile());
    EXPECT_EQ(script.Find(QStringLiteral("a")), nullptr);
    EXPECT_NE(script.Find(QStringLiteral("IntToStr")), nullptr);  // built-ins stay
    EXPECT_EQ(script.FindType(QStringLiteral("tdatetime"))->type().kind, TfsVarType::fvtFloat);
}

TEST(Script, RegisteredDeclarations)
{
    TfsScript script;
    QList<Variant> received;
    const auto record = [&](const QString &, const QList<Variant> &arguments) {
        received = arguments;
        return Variant();
    };
    ScriptProcedure *count =
        script.AddMethod(QStringLiteral("macrofunction COUNT(Band: Variant = 0; Flags: Integer = 0): Variant"), record);
    EXPECT_TRUE(count->isMacro());
    EXPECT_EQ(count->requiredCount(), 0);
    ScriptProcedure *set = script.AddMethod(QStringLiteral("procedure Set(Name: String; Value: Variant)"), record);
    EXPECT_FALSE(set->isFunction());
    script.AddMethod(QStringLiteral("function Pair(A, B: Integer; C: String = 'c'): String"), record);

    script.SetLines({"begin Set('x', 1 + 1); Pair(1, 2) end."});
    ASSERT_TRUE(script.Run()) << script.ErrorMsg().toStdString();
    EXPECT_EQ(received, (QList<Variant>{Variant(1), Variant(2), Variant(QStringLiteral("c"))}));

    EXPECT_THROW(script.AddMethod(QStringLiteral("function Broken(: Integer"), record), EngineError);
    EXPECT_THROW(script.AddMethod(QStringLiteral("function F(A: Strin): Integer"), record), EngineError);
    EXPECT_THROW(script.AddVariable(QStringLiteral("v"), QStringLiteral("NoSuchType")), EngineError);
}

TEST(VariantOps, ArithmeticComparisonAndNull)
{
    const QString a = QStringLiteral("a");
    const struct {
        VariantOperator op;
        Variant left, right, expected;
    } cases[] = {
        {VariantOperator::Add, Variant(1), Variant(2), Variant(3)},
        {VariantOperator::Add, Variant(1), Variant(2.5), Variant(3.5)},
        {VariantOperator::Add, Variant(a), Variant(QStringLiteral("b")), Variant(QStringLiteral("ab"))},
        {VariantOperator::Add, Variant(), Variant(1), Variant()},
        {VariantOperator::Multiply, Variant(a), Variant(), Variant()},
        {VariantOperator::Add, Variant(2147483647), Variant(1), Variant(qint64(2147483648LL))},
        {VariantOperator::Divide, Variant(7), Variant(2), Variant(3.5)},
        {VariantOperator::IntDivide, Variant(-7), Variant(2), Variant(-3)},
        {VariantOperator::Modulo, Variant(7), Variant(3), Variant(1)},
        {VariantOperator::And, Variant(true), Variant(false), Variant(false)},
        {VariantOperator::Or, Variant(12), Variant(3), Variant(15)},
        {VariantOperator::Equal, Variant(2), Variant(2.0), Variant(true)},
        {VariantOperator::Less, Variant(a), Variant(QStringLiteral("b")), Variant(true)},
        {VariantOperator::Equal, Variant(), Variant(), Variant(true)},
        {VariantOperator::Less, Variant(), Variant(0), Variant(true)},
        {VariantOperator::GreaterOrEqual, Variant(QStringLiteral("10")), Variant(9), Variant(true)},
    };
    for (const auto &c : cases)
        EXPECT_EQ(applyOperator(c.op, c.left, c.right), c.expected)
            << c.left.toString().toStdString() << " op " << int(c.op);
    EXPECT_EQ(negateValue(Variant(5)), Variant(-5));
    EXPECT_EQ(notValue(Variant(true)), Variant(false));
    EXPECT_THROW(applyOperator(VariantOperator::Divide, Variant(1), Variant(0)), EngineError);
    EXPECT_THROW(applyOperator(VariantOperator::Subtract, Variant(a), Variant(1)), EngineError);
}

TEST(Script, LongChainsDoNotExhaustTheStack)
{
    const QString chains[] = {
        QStringLiteral("1").repeated(1) + QStringLiteral(" + 1").repeated(200000),
        QStringLiteral("s") + QStringLiteral("[1]").repeated(200000),
        QStringLiteral("IntToStr(").repeated(2000) + u'1' + QStringLiteral(")").repeated(2000),
    };
    for (const QString &chain : chains) {
        TfsScript script;
        script.SetLines({"var v: Variant; s: String;", "begin v := " + chain + " end."});
        EXPECT_FALSE(script.Compile());
        EXPECT_EQ(script.ErrorMsg(), QStringLiteral("Слишком глубокая вложенность"));
    }
}

TEST(Script, DeepRecursionThroughLongExpressionsFailsCleanly)
{
    TfsScript script;
    // Each call waits at the bottom of a long operator chain.
    const QString chain = QStringLiteral("F(n + 1)") + QStringLiteral(" + 0").repeated(450);
    script.SetLines({"var v: Variant;", "function F(n: Integer): Integer; begin Result := " + chain + " end;",
                     "begin v := F(1) end."});
    ASSERT_TRUE(script.Compile()) << script.ErrorMsg().toStdString();
    try {
        script.Execute();
        ADD_FAILURE() << "no error";
    } catch (const EngineError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Слишком глубокая рекурсия"));
    }
}

TEST(Script, LanguageSettingsComeFromTheGrammarDocument)
{
    ASSERT_NE(script::findLanguage(QStringLiteral("pascalscript")), nullptr);
    QFile file(QStringLiteral(":/vornak/script/pascal_script_grammar.xml"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QString document = QString::fromUtf8(file.readAll());
    document.replace(QStringLiteral("text=\"PascalScript\""), QStringLiteral("text=\"LoosePascal\""));
    document.replace(QStringLiteral("<declarevars text=\"1\"/>"), QStringLiteral("<declarevars text=\"0\"/>"));
    document.replace(QStringLiteral("<types/>"), QStringLiteral("<types><Int text=\"Integer\"/></types>"));
    document.replace(QStringLiteral("<err5 text=\"';' expected\"/>"), QStringLiteral("<err5 text=\"нужна ';'\"/>"));
    QString error;
    ASSERT_TRUE(script::registerLanguage(document, &error)) << error.toStdString();

    TfsScript script;
    script.SetSyntaxType(QStringLiteral("LoosePascal"));
    script.SetLines({"var i: INT;", "begin", "  x := 'made on assignment';", "  i := 2", "  i := 3", "end."});
    EXPECT_FALSE(script.Compile());
    EXPECT_EQ(script.ErrorPos() + u' ' + script.ErrorMsg(), QStringLiteral("5:3 нужна ';'"));
    script.SetLines({"var i: INT;", "begin", "  x := 'made on assignment';", "  i := 2", "end."});
    ASSERT_TRUE(script.Run()) << script.ErrorMsg().toStdString();
    EXPECT_EQ(static_cast<ScriptVariable *>(script.Find(QStringLiteral("X")))->value().toString(),
              QStringLiteral("made on assignment"));
    EXPECT_EQ(static_cast<ScriptVariable *>(script.Find(QStringLiteral("i")))->type().kind, TfsVarType::fvtInt);
}

// The subsystem's texts come from one table; a key it does not hold is shown as itself.
TEST(ReportText, KeysGiveTheirTextsAndAMissingKeyShowsItself)
{
    EXPECT_EQ(reportText("undeclaredIdentifier").arg(QStringLiteral("x")),
              QStringLiteral("Неопределенный идентификатор: 'x'"));
    EXPECT_EQ(reportText("scriptError").arg(QStringLiteral("4:1"), QStringLiteral("';' expected")),
              QStringLiteral("Ошибка в скрипте 4:1: ';' expected"));
    EXPECT_EQ(reportText("noSuchText"), QStringLiteral("noSuchText"));
}

TEST(Script, LibraryFunctions)
{
    Scripts scripts;
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("IntToStr(5) + FloatToStr(2.5)"), QStringLiteral("52,5")},
        {QStringLiteral("Copy('abcdef', 2, 3) + Copy('abc', 3, 10) + Copy('abc', 9, 1)"), QStringLiteral("bcdc")},
        {QStringLiteral("Pos('cd', 'abcdef') * 10 + Pos('x', 'abc')"), QStringLiteral("30")},
        {QStringLiteral("Length(Trim('  ab  ')) + Round(2.5) + Round(3.5) + Trunc(-1.7)"), QStringLiteral("7")},
        {QStringLiteral("UpperCase('ab') + LowerCase('CD') + Chr(65) + IntToStr(Ord('a'))"), QStringLiteral("ABcdA97")},
        {QStringLiteral("StrToInt(' 12 ') + StrToFloat('0,5')"), QStringLiteral("12,5")},
        {QStringLiteral("DateToStr(45292.75) + ' ' + FormatDateTime('yyyy-MM-dd HH:mm', 45292.75)"),
         QStringLiteral("01.01.2024 2024-01-01 18:00")},
        {QStringLiteral("VarIsNull(Null) and not VarIsNull(0)"), QStringLiteral("True")},
        {QStringLiteral("FormatFloat('#,##0.00', 1234567.891)"), QString::fromUtf8("1\u00a0234\u00a0567,89")},
        {QStringLiteral("FormatFloat('0.##', 2.5) + '|' + FormatFloat('0.##', 2) + '|' + FormatFloat('#.##', 0.5)"),
         QStringLiteral("2,5|2|,5")},
        {QStringLiteral("FormatFloat('000', 7) + '|' + FormatFloat('0', 2.5) + '|' + FormatFloat('0', -0.4)"),
         QStringLiteral("007|3|0")},
        {QStringLiteral("FormatFloat('0.00;(0.00);\"ноль\"', -3.456) + FormatFloat('0.00;(0.00);\"ноль\"', 0)"),
         QStringLiteral("(3,46)ноль")},
        {QStringLiteral(
             "FormatFloat('0.0E+00', 12345) + '|' + FormatFloat('0.0E+00', 0.00012) + '|' + FormatFloat('', 2.5)"),
         QStringLiteral("1,2E+04|1,2E-04|2,5")},
        {QStringLiteral("FormatFloat('0.00 ''руб.''', -12.5)"), QStringLiteral("-12,50 руб.")},
    };
    for (const auto &[expression, expected] : cases)
        EXPECT_EQ(scripts.calc(expression).toString(), expected) << expression.toStdString();
    EXPECT_THROW(scripts.calc(QStringLiteral("StrToInt('x1')")), EngineError);
}

#pragma once

#include <QStringView>

// The names of the syntax nodes and leaves the builder reads, as the grammar document
// (resources/pascal_script_grammar.xml) gives them in its `node` and `add` attributes. A rule
// renamed there must be renamed here: tests/report/script/syntax_names_test.cpp checks every
// name below against the document.
namespace vornak::script::syntax {

// Program and declarations.
inline constexpr QStringView program = u"program";
inline constexpr QStringView uses = u"uses";          // node: a uses clause
inline constexpr QStringView usedFile = u"file";      // leaf: a file named in it
inline constexpr QStringView constant = u"const";     // node: one constant
inline constexpr QStringView variables = u"var";      // node: variables of one type
inline constexpr QStringView arrayOf = u"array";      // node: "array of" before the type
inline constexpr QStringView initialValue = u"init";  // node: "= expression" of a variable
inline constexpr QStringView procedure = u"procedure";
inline constexpr QStringView function = u"function";
inline constexpr QStringView routineName = u"name";       // leaf: a procedure's or function's name
inline constexpr QStringView parameters = u"parameters";  // node: the parameter groups
inline constexpr QStringView byReference = u"varparam";   // leaf: "var" before a parameter group
inline constexpr QStringView defaultValue = u"default";   // node: "= expression" of a parameter
inline constexpr QStringView typeName = u"type";          // leaf
inline constexpr QStringView identifier = u"ident";       // leaf

// Statements.
inline constexpr QStringView compoundStatement = u"compoundstmt";
inline constexpr QStringView assignStatement = u"assignstmt";
inline constexpr QStringView callStatement = u"callstmt";
inline constexpr QStringView ifStatement = u"ifstmt";
inline constexpr QStringView thenBranch = u"thenstmt";
inline constexpr QStringView elseBranch = u"elsestmt";
inline constexpr QStringView caseStatement = u"casestmt";
inline constexpr QStringView caseSelector = u"caseselector";  // node: labels and their statement
inline constexpr QStringView whileStatement = u"whilestmt";
inline constexpr QStringView repeatStatement = u"repeatstmt";
inline constexpr QStringView forStatement = u"forstmt";
inline constexpr QStringView downTo = u"downto";  // leaf: a for loop counting down
inline constexpr QStringView tryStatement = u"trystmt";
inline constexpr QStringView finallyPart = u"finallystmt";
inline constexpr QStringView exceptPart = u"exceptstmt";
inline constexpr QStringView breakStatement = u"break";
inline constexpr QStringView continueStatement = u"continue";
inline constexpr QStringView exitStatement = u"exit";

// Expressions: three levels of binary operators, then factors.
inline constexpr QStringView expression = u"expr";         // operands joined by comparisons
inline constexpr QStringView simpleExpression = u"sexpr";  // ... by adding operators
inline constexpr QStringView term = u"term";               // ... by multiplying operators
inline constexpr QStringView unaryMinus = u"unminus";      // leaf: a leading minus
inline constexpr QStringView notFactor = u"not";
inline constexpr QStringView number = u"number";             // leaf
inline constexpr QStringView string = u"string";             // leaf
inline constexpr QStringView reportReference = u"frstring";  // leaf: a report data reference
inline constexpr QStringView set = u"set";
inline constexpr QStringView range = u"range";      // node: one set item or case label
inline constexpr QStringView designator = u"dsgn";  // node: a name and its parts
inline constexpr QStringView addressOf = u"addr";   // leaf: "@" before the name
inline constexpr QStringView member = u"member";    // leaf: ".Name"
inline constexpr QStringView index = u"index";      // node: "[expression]"
inline constexpr QStringView arguments = u"args";   // node: "(arguments)"

// Every name above, for the check against the grammar document.
inline constexpr QStringView all[] = {
    program,
    uses,
    usedFile,
    constant,
    variables,
    arrayOf,
    initialValue,
    procedure,
    function,
    routineName,
    parameters,
    byReference,
    defaultValue,
    typeName,
    identifier,
    compoundStatement,
    assignStatement,
    callStatement,
    ifStatement,
    thenBranch,
    elseBranch,
    caseStatement,
    caseSelector,
    whileStatement,
    repeatStatement,
    forStatement,
    downTo,
    tryStatement,
    finallyPart,
    exceptPart,
    breakStatement,
    continueStatement,
    exitStatement,
    expression,
    simpleExpression,
    term,
    unaryMinus,
    notFactor,
    number,
    string,
    reportReference,
    set,
    range,
    designator,
    addressOf,
    member,
    index,
    arguments,
};

}  // namespace vornak::script::syntax

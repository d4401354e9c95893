#include "report/engine/script.h"

#include <gtest/gtest.h>

using namespace vornak;

TEST(Script, Smoke)
{
    TfsScript script;
    script.SetLines({"var", "str: string;", "begin", "str := 'abc';", "end."});
    ASSERT_TRUE(script.Compile()) << script.ErrorPos().toStdString() << " " << script.ErrorMsg().toStdString();
    script.Execute();
}

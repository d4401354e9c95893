// Splits arbitrary text into tokens of the SQL dialect. Besides not crashing, every token must
// lie inside the statement, in order, without overlapping the one before it: error messages and
// the translator cut the statement's own text at these positions.

#include "platform/sql_tokenizer.h"
#include "tests/fuzz/fuzz_input.h"

#include <cstdlib>

using namespace vornak;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString sql = fuzz::textOf(data, size);
    fuzz::refusalsAllowed([&] {
        qsizetype previousEnd = 0;
        for (const SqlToken &token : tokenizeSql(sql)) {
            if (token.position < previousEnd || token.length <= 0 || token.position + token.length > sql.size())
                std::abort();
            previousEnd = token.position + token.length;
        }
    });
    return 0;
}

// Long statements that a window watches: the watch is called while the
// statement runs, stops it on request with the engine's "interrupted" error,
// nests, and is gone when its scope ends.

#include "TestArchive.h"

#include "component/ComponentErrors.h"
#include "component/Exception.h"

#include <gtest/gtest.h>

namespace {

// A statement of a few hundred thousand steps that reads no table.
qint64 Count(DatabaseEngine& engine)
{
    Statement s(engine.Db(), QStringLiteral("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 100000) "
                                            "SELECT count(*) FROM c"));
    s.Step();
    return s.ColumnInt(0);
}

TEST(StatementWatch, IsAskedWhileAStatementRunsAndStopsItOnRequest)
{
    TestArchive archive;
    DatabaseEngine& engine = *archive.engine;
    int calls = 0;
    {
        ScopedStatementWatch watch(engine, [&] {
            EXPECT_TRUE(engine.IsWatching()) << "readers can tell that a statement is in the middle";
            ++calls;
            return true;
        });
        EXPECT_EQ(Count(engine), 100000);
        EXPECT_GT(calls, 10);
        EXPECT_FALSE(engine.IsWatching());

        // An inner watch is in force until it ends; the outer one is back after.
        int inner = 0;
        {
            ScopedStatementWatch stop(engine, [&] { return ++inner < 3; });
            try {
                Count(engine);
                ADD_FAILURE() << "the statement was not stopped";
            } catch (const Exception& error) {
                EXPECT_EQ(error.Number(), ComponentError::Interrupted);
                EXPECT_EQ(error.Description(), QStringLiteral("Operazione sull'archivio interrotta."));
            }
            EXPECT_EQ(inner, 3);
        }
        const int before = calls;
        EXPECT_EQ(Count(engine), 100000) << "a stopped statement leaves the connection usable";
        EXPECT_GT(calls, before);
    }
    const int after = calls;
    Count(engine);
    EXPECT_EQ(calls, after) << "no watch once its scope has ended";

    // A watch that throws stops the statement as a refusal would.
    ScopedStatementWatch failing(engine, []() -> bool { throw std::runtime_error("guasto"); });
    EXPECT_THROW(Count(engine), Exception);
}

} // namespace

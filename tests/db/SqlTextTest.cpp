#include "platform/db/SqlText.h"

#include <gtest/gtest.h>

namespace {
using pr::db::StatementClass;
TEST(SqlText, Placeholder) { EXPECT_EQ(1u, pr::db::FindPlaceholders("select :a").size()); }
} // namespace

#include "tests/comparer_ui/QtTestSupport.h"

// Registered before main runs; gtest sets it up once the tests start.
[[maybe_unused]] static auto* const environment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

// For the test program only: each test ends with its scratch folders gone and the working
// directory back where it started, passed or failed, so no test leans on what another left.
#include <gtest/gtest.h>
#include "harness/harness.h"

namespace {
struct FolderRemover : ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo &) override {
        remove_scratch_folders();
    }
};
} // namespace

[[maybe_unused]] static const bool remover_listening =
    (::testing::UnitTest::GetInstance()->listeners().Append(new FolderRemover), true);

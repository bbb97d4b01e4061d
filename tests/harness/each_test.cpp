// For the test program only: each test ends with its scratch folders gone, the working directory
// back where it started and the game's shared settings as a fresh start has them, passed or
// failed, so no test leans on what another left.
#include <gtest/gtest.h>
#include "harness/harness.h"

namespace {
struct FolderRemover : ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo &) override {
        remove_scratch_folders();
        set_question_folder("");
        choose_run_settings({}, {});
        level = 0;
    }
};
} // namespace

[[maybe_unused]] static const bool remover_listening =
    (::testing::UnitTest::GetInstance()->listeners().Append(new FolderRemover), true);

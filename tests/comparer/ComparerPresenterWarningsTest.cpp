// Warnings of a read that still succeeds, from real Access files: Access objects are asked
// for, and no Access application can open such a file here, so each read warns and goes on.

#include "compare/SchemaComparison.h"
#include "comparer/ComparerPresenter.h"
#include "comparer/DisplayName.h"
#include "tests/comparer/EmbeddedDatabases.h"
#include "tests/comparer/PrivateSettings.h"
#include "tests/comparer/RecordingView.h"
#include "tests/foundation/platform/ScratchFolder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using Calls = std::vector<std::string>;

namespace {

const std::string kAccessWarnings = "Can't run MS Access\r\nCan't find path to MSAccess\r\n";

fs::path accessFile(const char* name) {
    return fs::path(KEL_ACCESS_DATA_DIR) / name;
}

std::string shown(const fs::path& path) {
    return text::toUtf8(shortenDisplayName(wide(path)));
}

class ComparerPresenterWarnings : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(first) || !fs::exists(second))
            GTEST_SKIP() << "the shared Access files are not there";
        view.onToggleForms();
        view.onToggleReports();
        view.calls.clear();
    }

    PrivateSettings isolated;
    RecordingView view;
    ComparerPresenter presenter{view, true};
    fs::path first = accessFile("indexTestV2003.mdb");
    fs::path second = accessFile("compIndexTestV2003.mdb");
};

} // namespace

TEST_F(ComparerPresenterWarnings, EachReadsWarningsComeWithTheirCaptionBeforeTheResults) {
    ScratchFolder dir;
    presenter.firstDatabase().path = wide(first);
    presenter.secondDatabase().path = wide(second);
    presenter.setScriptPath(wide(dir / "out.sql"));
    presenter.compare();
    ASSERT_NE(presenter.comparison(), nullptr);
    std::size_t count = presenter.comparison()->results().size();
    EXPECT_EQ(view.calls,
              (Calls{"setFirstName " + shown(first), "setSecondName " + shown(second),
                     "showWarning First database|" + kAccessWarnings,
                     "showWarning Second database|" + kAccessWarnings,
                     "showResults " + std::to_string(count) + " fieldsOrder=0", "progress.reset"}));
    // Warnings do not keep the script from being written.
    EXPECT_EQ(fs::exists(dir / "out.sql"), count > 0);
}

// The first read's warnings are shown before the second database is read at all.
TEST_F(ComparerPresenterWarnings, FirstWarningsStillShowWhenTheSecondReadFails) {
    ScratchFolder dir;
    fs::path missing = dir / "missing.accdb";
    presenter.firstDatabase().path = wide(first);
    presenter.secondDatabase().path = wide(missing);
    presenter.setScriptPath(wide(dir / "out.sql"));
    presenter.compare();
    ASSERT_EQ(view.calls.size(), 5u);
    EXPECT_EQ(view.calls[2], "showWarning First database|" + kAccessWarnings);
    EXPECT_EQ(view.calls[3].rfind("showError can't open the file|" + missing.string() + "\n", 0),
              0u)
        << view.calls[3];
    EXPECT_EQ(view.calls[4], "progress.reset");
    EXPECT_EQ(presenter.comparison(), nullptr);
    EXPECT_FALSE(fs::exists(dir / "out.sql"));
}

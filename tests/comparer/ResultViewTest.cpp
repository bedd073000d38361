#include "comparer/ResultViewConsole.h"
#include "comparer/ResultViewMessageBox.h"
#include "foundation/platform/MessageBox.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Standard output goes to a pipe for one test; read() gives what was written to it.
class CapturedStdout {
public:
    CapturedStdout() : saved_(::dup(STDOUT_FILENO)) {
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        read_ = fds[0];
        ::dup2(fds[1], STDOUT_FILENO);
        ::close(fds[1]);
    }
    ~CapturedStdout() {
        restore();
        ::close(read_);
    }
    std::string read() {
        restore();
        std::string all;
        char buffer[256];
        for (ssize_t n; (n = ::read(read_, buffer, sizeof buffer)) > 0;)
            all.append(buffer, static_cast<std::size_t>(n));
        return all;
    }

private:
    void restore() {
        if (saved_ < 0)
            return;
        ::dup2(saved_, STDOUT_FILENO);
        ::close(saved_);
        saved_ = -1;
    }
    int saved_;
    int read_ = -1;
};

struct Shown {
    std::u16string caption;
    std::u16string text;
};

} // namespace

TEST(ResultViewMessageBox, ShowsEveryMessageWithItsCaptionAndAnswersNothing) {
    std::vector<Shown> shown;
    platform::setMessageBoxHandler([&](std::u16string_view caption, std::u16string_view text) {
        shown.push_back({std::u16string(caption), std::u16string(text)});
    });
    ResultViewMessageBox view;
    view.showInformation(u"database schemas are identical", u"finished");
    view.showError(u"/no/such.db\nCould not find file", u"can't open the file");
    view.showWarning(u"some warnings", u"First database");
    platform::setMessageBoxHandler({});
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].caption, u"finished");
    EXPECT_EQ(shown[0].text, u"database schemas are identical");
    EXPECT_EQ(shown[1].caption, u"can't open the file");
    EXPECT_EQ(shown[2].caption, u"First database");

    settings::comparer::Options options;
    EXPECT_FALSE(view.editExternalDiffOptions(options));
    EXPECT_EQ(view.createTipView(), nullptr);
    // The progress is there to be used, and does nothing.
    view.progress().start(10);
    view.progress().reset();
}

TEST(ResultViewConsole, WritesTheTextsWithoutCaptionsOrLineEnds) {
    CapturedStdout out;
    ResultViewConsole view;
    view.showError(u"C:\\a.mdb\nCould not find file 'C:\\a.mdb'.", u"can't open the file");
    view.showWarning(u"[w]", u"Second database");
    view.showInformation(u"database schemas are identical", u"finished");
    EXPECT_EQ(out.read(),
              "C:\\a.mdb\nCould not find file 'C:\\a.mdb'.[w]database schemas are identical");
}

TEST(ResultViewConsole, WithoutAConsoleAtItsStartItWritesNothing) {
    CapturedStdout out;
    int saved = ::dup(STDOUT_FILENO);
    ::close(STDOUT_FILENO);
    ResultViewConsole view;
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    view.showInformation(u"database schemas are identical", u"finished");
    EXPECT_EQ(out.read(), "");
}

#include "comparer/ui/tips/TipsDlg.h"
#include "comparer/ComparerPresenter.h"
#include "comparer/TipsPresenter.h"
#include "comparer/ui/tips/FormattedTextView.h"
#include "tests/comparer/PrivateSettings.h"
#include "tests/comparer/RecordingView.h"
#include "tests/foundation/platform_qt/TestApplication.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <functional>
#include <gtest/gtest.h>

using settings::comparer::OptionsManager;

namespace {

// Shows the dialog modally and lets the user act on it once it is up.
void showAndAct(TipsDlg& dialog, bool showOnStartup, int currentTip,
                const std::function<void()>& user) {
    QTimer::singleShot(0, &dialog, [&] {
        user();
        // A user who forgot to close the window still ends the test.
        if (dialog.isVisible())
            dialog.done(QDialog::Rejected);
    });
    dialog.show(showOnStartup, currentTip);
}

// The first word of the tip the window shows, or "" for none.
std::u16string shownWord(const TipsDlg& dialog) {
    const auto* tip = dialog.textView().tip();
    if (!tip)
        return u"";
    return std::u16string(tip->textOf(tip->containers().at(0)->segments.at(0)));
}

// The sixth shipped tip, told by its words run together in the tip's text.
bool showsSixthTip(const TipsDlg& dialog) {
    const auto* tip = dialog.textView().tip();
    return tip && tip->text().starts_with(u"YoucancompareForms");
}

struct Closed {
    void record(bool showOnStartup, int currentTip) {
        calls.push_back({showOnStartup, currentTip});
    }
    std::vector<std::pair<bool, int>> calls;
};

} // namespace

TEST(TipsDlg, ShowsItsControlsAtAFixedSize) {
    testApplication();
    TipsDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), "Kelvor Tips");
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_EQ(dialog.nextButton().text(), "Next");
    EXPECT_EQ(dialog.previousButton().text(), "Previous");
    EXPECT_EQ(dialog.closeButton().text(), "Close");
    EXPECT_EQ(dialog.showOnStartupBox().text(), "Show Tips on Startup");
    bool heading = false, bulb = false;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->text() == "Did you know ... ?")
            heading = label->font().pixelSize() == 22;
        if (!label->pixmap().isNull())
            bulb = label->pixmap().size() == QSize(18, 26) && label->pixmap().hasAlpha();
    }
    EXPECT_TRUE(heading);
    EXPECT_TRUE(bulb);
    EXPECT_EQ(dialog.tips().count(), 6u);
}

TEST(TipsDlg, TheSixthTipFromAStoredFiveAndClosingStartsOverAtTheFirst) {
    PrivateSettings isolated;
    testApplication();
    OptionsManager settings;
    ASSERT_TRUE(settings.setTips(true, 5));
    TipsDlg dialog;
    TipsPresenter presenter(dialog, settings);
    bool sixth = false, checked = false;
    QTimer::singleShot(0, &dialog, [&] {
        sixth = showsSixthTip(dialog);
        checked = dialog.showOnStartupBox().isChecked();
        dialog.closeButton().click();
    });
    presenter.run();
    EXPECT_TRUE(sixth);
    EXPECT_TRUE(checked);
    EXPECT_FALSE(dialog.isVisible());
    OptionsManager reloaded;
    EXPECT_TRUE(reloaded.options().showTipsOnStartup);
    EXPECT_EQ(reloaded.options().currentTip, 0);
}

TEST(TipsDlg, NextAndPreviousGoRoundTheTips) {
    testApplication();
    TipsDlg dialog;
    std::vector<std::u16string> words;
    showAndAct(dialog, true, 0, [&] {
        words.push_back(shownWord(dialog));
        dialog.previousButton().click();
        EXPECT_TRUE(showsSixthTip(dialog));
        dialog.nextButton().click();
        words.push_back(shownWord(dialog));
        QTest::keyClick(&dialog, Qt::Key_Return); // Next is the default button
        words.push_back(shownWord(dialog));
    });
    EXPECT_EQ(words, (std::vector<std::u16string>{u"The", u"The", u"If"}));
}

TEST(TipsDlg, EscapeAndTheCloseBoxCloseLikeClose) {
    testApplication();
    for (int way = 0; way < 2; ++way) {
        TipsDlg dialog;
        Closed closed;
        dialog.onTipsClosed.bind(closed, &Closed::record);
        showAndAct(dialog, false, 2, [&] {
            EXPECT_FALSE(dialog.showOnStartupBox().isChecked());
            if (way == 0)
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else
                dialog.close();
        });
        EXPECT_EQ(closed.calls, (std::vector<std::pair<bool, int>>{{false, 3}})) << way;
        EXPECT_FALSE(dialog.isVisible());
    }
}

TEST(TipsDlg, TheWheelOverTheWindowDoesNothing) {
    testApplication();
    TipsDlg dialog;
    bool stillThird = false;
    showAndAct(dialog, true, 2, [&] {
        QPointF at(5, 5);
        QWheelEvent wheel(at, dialog.mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&dialog, &wheel);
        stillThird = dialog.tips().index() == 2 && shownWord(dialog) == u"After";
    });
    EXPECT_TRUE(stillThird);
}

TEST(TipsDlg, UncheckingStopsTheStartupTipsButNotShowTips) {
    PrivateSettings isolated;
    testApplication();
    int shown = 0;
    // One start of the comparer: its presenter, a view that makes real tips windows, and
    // either the start-up tips or the menu command.
    auto start = [&](bool startup, bool uncheck) {
        RecordingView view;
        view.tipViewMaker = [&]() -> std::unique_ptr<ITipView> {
            auto dialog = std::make_unique<TipsDlg>();
            TipsDlg* raw = dialog.get();
            QTimer::singleShot(0, raw, [&shown, raw, uncheck] {
                ++shown;
                if (uncheck)
                    raw->showOnStartupBox().setChecked(false);
                raw->closeButton().click();
            });
            return dialog;
        };
        ComparerPresenter presenter(view, false);
        if (startup)
            view.onStartupTips();
        else
            view.onShowTips();
    };
    start(true, true);
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(OptionsManager().options().showTipsOnStartup);
    EXPECT_EQ(OptionsManager().options().currentTip, 1);

    start(true, false);
    EXPECT_EQ(shown, 1);
    start(false, false);
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(OptionsManager().options().currentTip, 2);
    EXPECT_FALSE(OptionsManager().options().showTipsOnStartup);
}

TEST(TipsDlg, ADamagedDocumentShowsNothingAndStoresTheFirstTip) {
    testApplication();
    for (std::string_view document : {"", "not xml", "<tips><ti"}) {
        TipsDlg dialog(nullptr, document);
        Closed closed;
        dialog.onTipsClosed.bind(closed, &Closed::record);
        std::vector<bool> empty;
        showAndAct(dialog, true, 4, [&] {
            empty.push_back(dialog.textView().tip() == nullptr);
            dialog.nextButton().click();
            empty.push_back(dialog.textView().tip() == nullptr);
            dialog.previousButton().click();
            empty.push_back(dialog.textView().tip() == nullptr);
            dialog.closeButton().click();
        });
        EXPECT_EQ(empty, (std::vector<bool>{true, true, true}));
        EXPECT_EQ(closed.calls, (std::vector<std::pair<bool, int>>{{true, 0}}));
    }
}

TEST(TipsDlg, ItsOwnerNeverDeletesIt) {
    testApplication();
    auto owner = std::make_unique<QWidget>();
    TipsDlg dialog(owner.get());
    QWidget* parentWhileShown = nullptr;
    showAndAct(dialog, true, 0, [&] { parentWhileShown = dialog.parentWidget(); });
    EXPECT_EQ(parentWhileShown, owner.get());
    EXPECT_EQ(dialog.parentWidget(), nullptr);
    owner.reset();
    EXPECT_EQ(dialog.tips().count(), 6u);
}

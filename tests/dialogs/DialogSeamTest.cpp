#include <QTimer>
#include <gtest/gtest.h>

#include "controls/DialogFrame.h"
#include "dialogs/DialogScript.h"
#include "support/QtApp.h"

namespace {

class SampleDialog : public DialogFrame {
    Q_OBJECT
public:
    SampleDialog() : DialogFrame(QStringLiteral("样例"), QSize(200, 100)) {}
    int input = 0;
    int output = 0;
    bool loadedWithInput = false;

protected:
    void Load() override { loadedWithInput = input == 7; }
};

class OtherDialog : public DialogFrame {
    Q_OBJECT
public:
    OtherDialog() : DialogFrame(QStringLiteral("另一个"), QSize(200, 100)) {}
};

TEST(DialogSeam, AScriptAnswersLoadedDialogsInTurnAndRecordsThem) {
    ensureQtApp();
    DialogScript script;
    script.add<SampleDialog>([](SampleDialog &d) {
        EXPECT_TRUE(d.isVisible());
        EXPECT_TRUE(d.loadedWithInput);
        d.output = 42;
        d.hideDialog();
    });
    script.add<SampleDialog>([](SampleDialog &d) { d.output = 1; });  // leaves it open
    SampleDialog first;
    first.input = 7;
    DialogSeam::showModal(first);
    EXPECT_EQ(first.output, 42);
    EXPECT_FALSE(first.isVisible());
    OtherDialog other;
    DialogSeam::showModal(other);  // handed an answer for another class
    SampleDialog third;
    DialogSeam::showModal(third);  // no answer left
    EXPECT_EQ(third.output, 0);
    EXPECT_FALSE(third.isVisible());
    ASSERT_EQ(script.count(), 3);
    EXPECT_EQ(script.shown()[0].className, "SampleDialog");
    EXPECT_EQ(script.shown()[0].title, "样例");
    EXPECT_FALSE(script.shown()[0].leftOpen);
    EXPECT_TRUE(script.shown()[1].mismatch);
    EXPECT_TRUE(script.shown()[1].leftOpen);
    EXPECT_TRUE(script.shown()[2].leftOpen);
}

TEST(DialogSeam, ScriptsNestAndWithoutOneTheModalRunIsReal) {
    ensureQtApp();
    {
        DialogScript outer;
        {
            DialogScript inner;
            SampleDialog d;
            DialogSeam::showModal(d);
            EXPECT_EQ(inner.count(), 1);
        }
        SampleDialog d;
        DialogSeam::showModal(d);
        EXPECT_EQ(outer.count(), 1);
    }
    SampleDialog d;
    QTimer::singleShot(0, &d, [&] {
        d.output = d.isVisible() ? 5 : -1;
        d.hideDialog();
    });
    DialogSeam::showModal(d);
    EXPECT_EQ(d.output, 5);
}

}  // namespace

#include "DialogSeamTest.moc"

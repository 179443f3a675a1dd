#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "WizardFixture.h"
#include "platform/PnwDictionary.h"
#include "platform/PnwError.h"
#include "wizard/FileChooserSeam.h"
#include "wizard/ctlSetting.h"

namespace {

class ctlSettingTest : public WizardTest {
protected:
    void SetUp() override {
        WizardTest::SetUp();
        m_ais = m_dir.filePath(QStringLiteral("Demo.AIS"));
        ASSERT_TRUE(WriteJetHeaderFile(m_ais));
        m_page = std::make_unique<ctlSetting>(nullptr, QDateTime(QDate(2018, 3, 27), QTime(15, 30, 45)));
        SettingsValidator::Lookups lookups = SettingsValidator::defaultLookups();
        lookups.freeMegabytes = [this](const QString &) { return m_freeMb; };
        m_page->setLookups(lookups);
    }
    void fill() {
        m_page->txtSource()->setText(m_ais);
        m_page->txtAcctName()->setText(QStringLiteral("演示账套"));
        m_page->txtDBDir()->setText(m_dir.path());
    }
    int raisedNumber(QString *message = nullptr) {
        try {
            m_page->Result();
        } catch (const PnwError &e) {
            if (message) *message = e.description();
            return e.number();
        }
        return 0;
    }

    QString m_ais;
    qint64 m_freeMb = 1000;
    std::unique_ptr<ctlSetting> m_page;
};

TEST_F(ctlSettingTest, StartsWithTheDefaultNumberAndAllData) {
    EXPECT_EQ(m_page->txtAcctNumber()->text(), QStringLiteral("AIS20180327153045"));
    EXPECT_TRUE(m_page->Option1(0)->isChecked());
    EXPECT_TRUE(m_page->txtSource()->text().isEmpty());
}

TEST_F(ctlSettingTest, AcceptedSettingsAreStoredTrimmedInOneList) {
    fill();
    m_page->txtAcctName()->setText(QStringLiteral("  演示账套 "));
    m_page->Option1(1)->setChecked(true);
    const PnwList list = m_page->Result();
    ASSERT_EQ(list.Count(), 1);
    const PnwDictionary record = list.DictionaryItem(1);
    EXPECT_EQ(record.Keys(),
              (QStringList{QStringLiteral("Source"), QStringLiteral("AcctNum"), QStringLiteral("AcctName"),
                           QStringLiteral("DBDir"), QStringLiteral("Option")}));
    EXPECT_EQ(record.Item(QStringLiteral("AcctName")).toString(), QStringLiteral("演示账套"));
    EXPECT_EQ(record.Item(QStringLiteral("AcctNum")).toString(), QStringLiteral("AIS20180327153045"));
    EXPECT_EQ(record.Item(QStringLiteral("Option")).toInt(), 1);

    // Unchanged: the stored list comes back without a new check, even when
    // the source file has gone in between.
    QFile::remove(m_ais);
    const PnwList again = m_page->Result();
    EXPECT_TRUE(again.isSameAs(list));

    // New settings refill the same list in place.
    ASSERT_TRUE(WriteJetHeaderFile(m_ais));
    m_page->txtAcctNumber()->setText(QStringLiteral("AIS2"));
    const PnwList changed = m_page->Result();
    EXPECT_TRUE(changed.isSameAs(list));
    EXPECT_EQ(list.DictionaryItem(1).Item(QStringLiteral("AcctNum")).toString(), QStringLiteral("AIS2"));
}

TEST_F(ctlSettingTest, AFailedRuleRaisesFiveAndMovesTheFocus) {
    fill();
    m_page->show();
    QApplication::setActiveWindow(m_page.get());
    m_page->txtSource()->setFocus();
    m_page->txtAcctNumber()->setText(QStringLiteral("9AIS"));
    QString message;
    EXPECT_EQ(raisedNumber(&message), 5);
    EXPECT_EQ(message, QStringLiteral("账套号首字符不可为数字，请重新输入。"));
    EXPECT_TRUE(m_page->txtAcctNumber()->hasFocus());
}

TEST_F(ctlSettingTest, AFolderTheServerLacksGivesAnEmptyListAndOneMessage) {
    fill();
    const PnwList accepted = m_page->Result();
    ASSERT_EQ(accepted.Count(), 1);
    m_page->txtDBDir()->setText(m_dir.filePath(QStringLiteral("missing")));
    MessageScript script;
    const PnwList result = m_page->Result();
    EXPECT_EQ(result.Count(), 0);
    ASSERT_EQ(script.count(), 1);
    EXPECT_EQ(script.last().prompt, QStringLiteral("数据库文件路径: ") + m_dir.filePath(QStringLiteral("missing")) +
                                        QStringLiteral("不存在，请重新选择或输入。"));
    EXPECT_EQ(script.last().buttons, 16);
    EXPECT_EQ(accepted.Count(), 1);  // the page keeps what it had accepted
}

TEST_F(ctlSettingTest, ExactlyThreeHundredMegabytesAreEnough) {
    fill();
    m_freeMb = 299;
    QString message;
    EXPECT_EQ(raisedNumber(&message), 5);
    EXPECT_EQ(message, QStringLiteral("磁盘空间小于300M，请选择另外的磁盘。"));
    m_freeMb = 300;
    EXPECT_EQ(m_page->Result().Count(), 1);
}

TEST_F(ctlSettingTest, ChoosingTheSourceFile) {
    struct Case {
        QString chosen;
        QString source;
        QString name;
        QStringList prompts;
    };
    const QString wrong = QStringLiteral("选择引入文件类型不正确，请确认是VEQ标准版(迷你版)文件！");
    const QString backup = QStringLiteral("请在升级前对源账套进行备份！");
    const Case cases[] = {
        {QStringLiteral("/d/Demo.AIS"), QStringLiteral("/d/Demo.AIS"), QStringLiteral("Demo"), {backup}},
        {QStringLiteral("/d/a.ais.b.AIS"), QStringLiteral("/d/a.ais.b.AIS"), QStringLiteral("a.b"), {backup}},
        {QStringLiteral("/d/notes.txt"), QString(), QString(), {wrong, backup}},
        {QString(), QStringLiteral("keep"), QStringLiteral("keep"), {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.chosen.toStdString());
        m_page->txtSource()->setText(QStringLiteral("keep"));
        m_page->txtAcctName()->setText(QStringLiteral("keep"));
        FileChooserRequest seen;
        FileChooserSeam::Responder previous = FileChooserSeam::setResponder([&](const FileChooserRequest &r) {
            seen = r;
            return c.chosen;
        });
        MessageScript script;
        m_page->btnSource_Click();
        FileChooserSeam::setResponder(previous);
        EXPECT_EQ(seen.title, QStringLiteral("选择账套文件"));
        EXPECT_EQ(seen.filter, QStringLiteral("岫禾VEQ标准版/迷你版账套文件 (*.ais)|*.ais"));
        EXPECT_EQ(m_page->txtSource()->text(), c.source);
        EXPECT_EQ(m_page->txtAcctName()->text(), c.name);
        QStringList prompts;
        for (const MessageRequest &r : script.requests()) prompts << r.prompt;
        EXPECT_EQ(prompts, c.prompts);
    }
}

TEST_F(ctlSettingTest, TheNumberFieldTakesLettersAndDigitsOnly) {
    QLineEdit *number = m_page->txtAcctNumber();
    number->clear();
    const struct {
        int key;
        const char *text;
    } keys[] = {{Qt::Key_A, "a"}, {Qt::Key_Period, "."},     {Qt::Key_Minus, "-"},
                {Qt::Key_1, "1"}, {Qt::Key_Underscore, "_"}, {Qt::Key_B, "B"}};
    for (const auto &k : keys) {
        QKeyEvent press(QEvent::KeyPress, k.key, Qt::NoModifier, QString::fromLatin1(k.text));
        QApplication::sendEvent(number, &press);
    }
    EXPECT_EQ(number->text(), QStringLiteral("A1B"));
    QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
    QApplication::sendEvent(number, &backspace);
    EXPECT_EQ(number->text(), QStringLiteral("A1"));
    number->setCursorPosition(0);
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QStringLiteral("\x7f"));
    QApplication::sendEvent(number, &del);
    EXPECT_EQ(number->text(), QStringLiteral("1"));
}

TEST_F(ctlSettingTest, TabLeavesTheNumberField) {
    m_page->show();
    QLineEdit *number = m_page->txtAcctNumber();
    number->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(number->hasFocus());
    QTest::keyClick(number, Qt::Key_Tab);
    EXPECT_FALSE(number->hasFocus());
    EXPECT_TRUE(m_page->txtAcctName()->hasFocus());
}

}  // namespace
